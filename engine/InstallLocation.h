// The install directory recorded by the previous installation.
#pragma once

#include <windows.h>

// Reads "InstallLocation" of the current user's uninstall entry into
// buffer (capacity in wide characters, terminator included).  Fails
// (FALSE, last error set) when there is no entry, the value is missing,
// not a string (REG_SZ or REG_EXPAND_SZ, which is not expanded), does not
// fit, is not terminated inside its data, or is empty.
BOOL ReadInstallLocation(wchar_t* buffer, DWORD capacity);
