// NuvraSetup.exe's start and end as a process: the single-instance guard,
// the compatibility mark and the exit code, run for real under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

const wchar_t kPersistedKey[] =
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility Assistant\\Persisted";
const wchar_t kWindowTitle[] = L"Nuvra游戏浏览器安装/卸载程序";

std::wstring SetupPath() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self);
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"NuvraSetup.exe";
}

// Handles this thread's messages while waiting: the second copy shows our
// window through messages that this thread must answer.
bool WaitPumping(HANDLE process, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) return false;
    const DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) return true;
    if (r != WAIT_OBJECT_0 + 1) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
}

// Runs NuvraSetup.exe and returns its exit code (or ~0u when it could not
// start or did not end within 20 s).
DWORD RunSetup() {
  std::wstring cmd = L"\"" + SetupPath() + L"\"";
  STARTUPINFOW si = {sizeof(si)};
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return ~0u;
  DWORD code = ~0u;
  if (WaitPumping(pi.hProcess, 20000)) GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

bool ReadMark(DWORD* value) {
  DWORD size = sizeof(*value);
  DWORD type = 0;
  return RegGetValueW(HKEY_CURRENT_USER, kPersistedKey, SetupPath().c_str(), RRF_RT_ANY, &type,
                      value, &size) == ERROR_SUCCESS &&
         type == REG_DWORD;
}

void DeleteMark() {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kPersistedKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegDeleteValueW(key, SetupPath().c_str());
    RegCloseKey(key);
  }
}

bool KeyExists() {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kPersistedKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// The assistant's key as a machine that has run other programs has it, with
// no mark for us yet.
bool CreateKeyWithoutMark() {
  HKEY key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kPersistedKey, 0, nullptr, 0, KEY_READ, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  DeleteMark();
  return true;
}

TEST(SetupProcess, FirstCopyMarksItsPathAndExitsWithZero) {
  ASSERT_TRUE(CreateKeyWithoutMark());

  EXPECT_EQ(0u, RunSetup());
  DWORD mark = 0;
  ASSERT_TRUE(ReadMark(&mark));
  EXPECT_EQ(1u, mark);
  DeleteMark();
}

TEST(SetupProcess, MissingCompatibilityKeyIsNotCreated) {
  RegDeleteKeyW(HKEY_CURRENT_USER, kPersistedKey);
  ASSERT_FALSE(KeyExists());
  EXPECT_EQ(0u, RunSetup());
  EXPECT_FALSE(KeyExists());
}

TEST(SetupProcess, SecondCopyRestoresTheFirstWindowAndTouchesNothing) {
  ASSERT_TRUE(CreateKeyWithoutMark());

  // Play the first copy: hold the mutex and show a minimised window with
  // the installer's title.
  HANDLE mutex = CreateMutexW(nullptr, TRUE, L"NuvraBrowserSetup");
  ASSERT_NE(nullptr, mutex);
  HWND first = CreateWindowExW(0, L"STATIC", kWindowTitle, WS_OVERLAPPEDWINDOW, 10, 10, 200, 100,
                               nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, first);
  ShowWindow(first, SW_SHOWMINIMIZED);
  ASSERT_TRUE(IsIconic(first));

  EXPECT_EQ(0u, RunSetup());
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_FALSE(IsIconic(first));
  EXPECT_TRUE(IsWindowVisible(first));
  DWORD mark = 0;
  EXPECT_FALSE(ReadMark(&mark)) << "a second copy must not write the mark";

  // Without a window to find, a second copy still just ends with 0.
  DestroyWindow(first);
  EXPECT_EQ(0u, RunSetup());
  CloseHandle(mutex);
}

}  // namespace
