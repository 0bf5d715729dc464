#include "tests/steps/StepTestSupport.h"

#define PSAPI_VERSION 1
#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

namespace steptest {
namespace {

const wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\NuvraBrowser";
const wchar_t kInstallLocation[] = L"InstallLocation";
const wchar_t kTraceKey[] = L"SOFTWARE\\NuvraBrowser\\Trace";

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix) {
  if (text.size() < prefix.size()) return false;
  return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, text.c_str(),
                        static_cast<int>(prefix.size()), prefix.c_str(),
                        static_cast<int>(prefix.size())) == CSTR_EQUAL;
}

}  // namespace

std::wstring BinDir() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path);
  return dir.substr(0, dir.find_last_of(L'\\') + 1);
}

ScratchDir::ScratchDir(const wchar_t* tag) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  wchar_t longTemp[MAX_PATH] = {};
  if (!GetLongPathNameW(temp, longTemp, MAX_PATH)) lstrcpynW(longTemp, temp, MAX_PATH);
  path_ = std::wstring(longTemp) + L"nuvra-" + tag + L"-" +
          std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount()) + L"\\";
  CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchDir::~ScratchDir() { RemoveTree(path_); }

void RemoveTree(const std::wstring& path) {
  std::wstring plain = path;
  while (!plain.empty() && plain.back() == L'\\') plain.pop_back();
  const DWORD attributes = GetFileAttributesW(plain.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileW(plain.c_str());
    return;
  }
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((plain + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") RemoveTree(plain + L"\\" + name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(plain.c_str());
}

bool CopyCompanion(const wchar_t* name, const std::wstring& dir, const wchar_t* asName) {
  return CopyFileW((BinDir() + name).c_str(), (dir + asName).c_str(), FALSE) != FALSE;
}

bool WriteTextFile(const std::wstring& path, const char* text) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const DWORD size = static_cast<DWORD>(strlen(text));
  const bool ok = WriteFile(file, text, size, &written, nullptr) && written == size;
  CloseHandle(file);
  return ok;
}

bool ReadWholeFile(const std::wstring& path, std::string* bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes->clear();
  char chunk[4096];
  DWORD read = 0;
  while (ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0)
    bytes->append(chunk, read);
  CloseHandle(file);
  return true;
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

HANDLE StartProgram(const std::wstring& path) {
  std::wstring commandLine = L"\"" + path + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info))
    return nullptr;
  CloseHandle(info.hThread);
  // Let the program reach its message loop before anyone looks for it.
  WaitForInputIdle(info.hProcess, 5000);
  return info.hProcess;
}

bool IsRunning(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }

void EndProcessesUnder(const std::wstring& dir) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ |
                                     PROCESS_TERMINATE | SYNCHRONIZE,
                                 FALSE, entry.th32ProcessID);
    if (!process) continue;
    wchar_t module[MAX_PATH] = {};
    if (GetModuleFileNameExW(process, nullptr, module, MAX_PATH) &&
        StartsWithNoCase(module, dir)) {
      TerminateProcess(process, 1);
      WaitForSingleObject(process, 5000);
    }
    CloseHandle(process);
  }
  CloseHandle(snapshot);
}

UninstallEntryGuard::UninstallEntryGuard()
    : keyExisted_(false), valueExisted_(false), type_(REG_NONE) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return;
  keyExisted_ = true;
  DWORD bytes = 0;
  if (RegQueryValueExW(key, kInstallLocation, nullptr, &type_, nullptr, &bytes) ==
      ERROR_SUCCESS) {
    data_.resize(bytes);
    valueExisted_ = RegQueryValueExW(key, kInstallLocation, nullptr, &type_,
                                     data_.empty() ? nullptr : data_.data(),
                                     &bytes) == ERROR_SUCCESS;
  }
  RegCloseKey(key);
}

UninstallEntryGuard::~UninstallEntryGuard() {
  if (!keyExisted_) {
    RemoveKey();
    return;
  }
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    return;
  if (valueExisted_)
    RegSetValueExW(key, kInstallLocation, 0, type_, data_.empty() ? nullptr : data_.data(),
                   static_cast<DWORD>(data_.size()));
  else
    RegDeleteValueW(key, kInstallLocation);
  RegCloseKey(key);
}

// RegSetValueExW may add a missing terminator to a string value; the
// native call stores exactly the bytes given, as other writers can.
bool UninstallEntryGuard::SetRaw(DWORD type, const void* data, DWORD bytes) {
  struct CountedName {
    USHORT length, maximumLength;
    const wchar_t* buffer;
  };
  using NtSetValueKeyFn = LONG(WINAPI*)(HANDLE key, const CountedName* name, ULONG titleIndex,
                                        ULONG type, const void* data, ULONG bytes);
  const auto setValue = reinterpret_cast<NtSetValueKeyFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtSetValueKey")));
  HKEY key = nullptr;
  if (!setValue || RegCreateKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, nullptr, 0, KEY_WRITE,
                                   nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  const USHORT nameBytes = static_cast<USHORT>(wcslen(kInstallLocation) * sizeof(wchar_t));
  const CountedName name = {nameBytes, nameBytes, kInstallLocation};
  const bool ok = setValue(key, &name, 0, type, data, bytes) == 0;
  RegCloseKey(key);
  return ok;
}

bool UninstallEntryGuard::SetString(const std::wstring& text) {
  return SetRaw(REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void UninstallEntryGuard::RemoveKey() { RegDeleteKeyW(HKEY_CURRENT_USER, kUninstallKey); }

void ClearTrace(const wchar_t* programName) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kTraceKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
    return;
  RegDeleteValueW(key, programName);
  RegDeleteValueW(key, (std::wstring(programName) + L".path").c_str());
  RegCloseKey(key);
}

std::wstring WaitForTrace(const std::wstring& valueName, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    wchar_t text[1024] = {};
    DWORD bytes = sizeof(text) - sizeof(wchar_t);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kTraceKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
      const LONG status = RegQueryValueExW(key, valueName.c_str(), nullptr, nullptr,
                                           reinterpret_cast<BYTE*>(text), &bytes);
      RegCloseKey(key);
      if (status == ERROR_SUCCESS) return text;
    }
    Sleep(100);
  } while (GetTickCount() - start < timeoutMs);
  return std::wstring();
}

std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

}  // namespace steptest
