// Install step 1: the per-user uninstall entry, and the file-version reader
// it uses for "DisplayVersion".
#pragma once

#include <windows.h>

#include <string>

// Under HKEY_CURRENT_USER.
extern const wchar_t kUninstallKeyPath[];
// The maker, as listed among the installed programs.
extern const wchar_t kUninstallPublisher[];
extern const wchar_t kUninstallAboutHost[];

// Writes the entry for an installation in `dir` (ending with a separator),
// dated `date`.  1 when the key could be created or opened, else 0 with
// the registry's error code as the last-error value.  Single values that
// cannot be written are skipped.
int WriteUninstallEntry(const std::wstring& dir, const SYSTEMTIME& date);

// The major and minor file version of `path` from its fixed version
// information.  1 on success; 0 (results untouched) when the path is null
// or empty (ERROR_INVALID_PARAMETER), absent (ERROR_FILE_NOT_FOUND) or has
// no readable version resource.
int GetFileVersion(const wchar_t* path, UINT* major, UINT* minor);
