// Reads the previous installation's directory from its uninstall entry.
#include "engine/InstallLocation.h"

#include "engine/Handles.h"

namespace {

const wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\NuvraBrowser";
const wchar_t kInstallLocationValue[] = L"InstallLocation";

BOOL FailWith(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// A string value read whole into buffer: the registry does not promise a
// terminator, so one must lie inside the data that was read.
BOOL ReadStringValue(HKEY key, const wchar_t* name, wchar_t* buffer, DWORD capacity) {
  DWORD type = 0;
  DWORD bytes = capacity * sizeof(wchar_t);
  const LONG status = RegQueryValueExW(key, name, nullptr, &type,
                                       reinterpret_cast<BYTE*>(buffer), &bytes);
  if (status != ERROR_SUCCESS) return FailWith(status);  // ERROR_MORE_DATA: too long
  if (type != REG_SZ && type != REG_EXPAND_SZ) return FailWith(ERROR_INVALID_DATA);
  if (bytes % sizeof(wchar_t) != 0 || bytes == 0) return FailWith(ERROR_INVALID_DATA);
  if (buffer[bytes / sizeof(wchar_t) - 1] != L'\0') return FailWith(ERROR_INVALID_DATA);
  return TRUE;
}

}  // namespace

BOOL ReadInstallLocation(wchar_t* buffer, DWORD capacity) {
  if (!buffer || capacity == 0) return FailWith(ERROR_INVALID_PARAMETER);
  buffer[0] = L'\0';
  ScopedRegKey key;
  const LONG status = RegOpenKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, key.Receive());
  if (status != ERROR_SUCCESS) return FailWith(status);
  if (!ReadStringValue(key.Get(), kInstallLocationValue, buffer, capacity)) {
    buffer[0] = L'\0';
    return FALSE;
  }
  if (buffer[0] == L'\0') return FailWith(ERROR_INVALID_DATA);
  return TRUE;
}
