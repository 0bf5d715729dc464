// "NuvraCtrl.exe": the browser's control program.  Every start is recorded
// in the launch trace.  With "/SetDefBrowser" (what the installer passes) it
// registers "NuvraBrowser.exe" from its own folder as the current user's
// browser and asks Windows to make it the default, then ends.
//
// Exit codes: 0 when the registration is written or nothing was asked,
// otherwise the error code of the write that failed, and
// ERROR_INVALID_PARAMETER for an argument it does not know.
#include <windows.h>

#include <wchar.h>

#include "payload/BrowserRegistration.h"
#include "payload/common/Companion.h"

namespace {

// Full path of "NuvraBrowser.exe" next to this program, into a buffer of
// kMaxWideText characters.
DWORD BrowserPathBesideSelf(wchar_t* path) {
  wchar_t self[kMaxWideText];
  DWORD error = GetOwnPath(self);
  if (error != ERROR_SUCCESS) return error;
  const wchar_t* name = wcsrchr(self, L'\\');
  size_t folderLength = name ? static_cast<size_t>(name - self) + 1 : 0;
  TextBuilder browser(path, kMaxWideText);
  if (!browser.Add(self, folderLength).Add(L"NuvraBrowser.exe").Fits()) return ERROR_FILENAME_EXCED_RANGE;
  return ERROR_SUCCESS;
}

DWORD SetDefaultBrowser() {
  wchar_t browser[kMaxWideText];
  DWORD error = BrowserPathBesideSelf(browser);
  if (error != ERROR_SUCCESS) return error;
  error = RegisterBrowserForUser(browser);
  if (error != ERROR_SUCCESS) return error;
  RequestDefaultBrowser();
  return ERROR_SUCCESS;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The trace is a record for the starter, not part of the command's work.
  WriteLaunchTrace(L"NuvraCtrl.exe");

  ArgumentText args = OwnArgumentText();
  if (args.length == 0) return 0;
  if (ArgumentIs(args, L"/SetDefBrowser")) return static_cast<int>(SetDefaultBrowser());
  return ERROR_INVALID_PARAMETER;
}
