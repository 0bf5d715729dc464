// Registration of the browser for the current user, the way Windows expects
// a browser to describe itself: a client under "Software\Clients\
// StartMenuInternet", its capabilities listed in "Software\
// RegisteredApplications", and a ProgID under "Software\Classes".  Only
// HKEY_CURRENT_USER is written.
#pragma once

#include <windows.h>

// Name of the client key and of the registered application.
extern const wchar_t kBrowserClientName[];
// ProgID that web pages and http/https addresses are associated with.
extern const wchar_t kBrowserProgId[];

// Writes the registration for the browser at `browserPath` and makes it the
// user's Start-menu browser.  Returns ERROR_SUCCESS or the error code of the
// first write that failed (writes stop there).
DWORD RegisterBrowserForUser(const wchar_t* browserPath);

// Asks Windows to make the registered browser the default for everything it
// declared.  Windows 6.0 and 6.1 honour this; later versions let only the
// user choose, so a refusal is expected and not an error.
void RequestDefaultBrowser();
