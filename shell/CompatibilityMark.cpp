#include "shell/CompatibilityMark.h"

namespace {
const wchar_t kPersistedKey[] =
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility Assistant\\Persisted";
}

HKEY MarkCompatibilityAssistant() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kPersistedKey, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
    return nullptr;
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  // A path that filled the buffer may be cut: better no mark than a wrong one.
  if (length > 0 && length < MAX_PATH) {
    const DWORD one = 1;
    RegSetValueExW(key, path, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
  }
  return key;
}
