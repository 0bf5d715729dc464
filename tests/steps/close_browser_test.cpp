// Step 9 against real companion processes: the programs of the recorded
// installation end, same-named programs elsewhere stay, and an unusable
// uninstall entry fails the step.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/CSetupLogic.h"
#include "engine/ProcessShutdown.h"
#include "tests/steps/StepTestSupport.h"

using namespace steptest;

namespace {

std::wstring Upper(std::wstring text) {
  CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

// Processes started by a test, ended (if still running) when it is done.
class Processes {
 public:
  ~Processes() {
    for (HANDLE process : handles_) {
      TerminateProcess(process, 1);
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
  }
  HANDLE Start(const std::wstring& path) {
    HANDLE process = StartProgram(path);
    if (process) handles_.push_back(process);
    return process;
  }

 private:
  std::vector<HANDLE> handles_;
};

class CloseBrowserTest : public ::testing::Test {
 protected:
  UninstallEntryGuard entry_;
  CSetupLogic logic_;
};

TEST_F(CloseBrowserTest, EndsTheInstalledProgramsWhateverTheLetterCase) {
  const struct {
    const char* what;
    const wchar_t* names[3];
    bool upperLocation;
    bool trailingSeparator;
    bool forwardSlashes;  // as typed on the custom page and kept in the entry
  } rows[] = {
      {"names and location as written",
       {L"NuvraBrowser.exe", L"NuvraWeb.exe", L"NuvraUpdate.exe"}, false, true, false},
      {"other letter case in names and location",
       {L"NUVRABROWSER.EXE", L"nuvraweb.exe", L"NuvraUPDATE.Exe"}, true, false, false},
      {"location written with forward slashes",
       {L"NuvraBrowser.exe", L"NuvraWeb.exe", L"NuvraUpdate.exe"}, false, true, true},
  };
  const wchar_t* const companions[3] = {L"NuvraBrowser.exe", L"NuvraWeb.exe",
                                        L"NuvraUpdate.exe"};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    ScratchDir install(L"close");
    Processes running;
    HANDLE processes[3] = {};
    for (int i = 0; i < 3; ++i) {
      ASSERT_TRUE(CopyCompanion(companions[i], install.Path(), row.names[i]));
      processes[i] = running.Start(install.Path() + row.names[i]);
      ASSERT_TRUE(processes[i] != nullptr);
    }
    std::wstring location = row.upperLocation ? Upper(install.Path()) : install.Path();
    if (!row.trailingSeparator) location.pop_back();
    if (row.forwardSlashes) std::replace(location.begin(), location.end(), L'\\', L'/');
    ASSERT_TRUE(entry_.SetString(location));

    EXPECT_EQ(1, logic_.StepCloseRunningBrowser());
    for (int i = 0; i < 3; ++i)
      EXPECT_FALSE(IsRunning(processes[i])) << testing::PrintToString(std::wstring(row.names[i]));
  }
}

TEST_F(CloseBrowserTest, LeavesABrowserFromAnotherFolderAlone) {
  ScratchDir install(L"close-installed");
  ScratchDir elsewhere(L"close-elsewhere");
  Processes running;
  ASSERT_TRUE(CopyCompanion(L"NuvraBrowser.exe", elsewhere.Path(), L"NuvraBrowser.exe"));
  HANDLE other = running.Start(elsewhere.Path() + L"NuvraBrowser.exe");
  ASSERT_TRUE(other != nullptr);
  ASSERT_TRUE(entry_.SetString(install.Path()));

  EXPECT_EQ(1, logic_.StepCloseRunningBrowser());
  EXPECT_TRUE(IsRunning(other));
}

TEST_F(CloseBrowserTest, FailsWithoutAUsableInstallLocation) {
  ScratchDir install(L"close-bad");
  const std::wstring dir = install.Path();
  const std::wstring tooLong = L"C:\\" + std::wstring(300, L'a') + L"\\";
  // Fits the value's buffer, but not once a program name is joined to it.
  const std::wstring nearlyFull = L"C:\\" + std::wstring(250, L'b');
  const DWORD number = 1;
  const struct {
    const char* what;
    DWORD type;
    const void* data;
    DWORD bytes;
  } rows[] = {
      {"empty string", REG_SZ, L"", sizeof(wchar_t)},
      {"no bytes at all", REG_SZ, L"", 0},
      {"a number", REG_DWORD, &number, sizeof(number)},
      {"binary bytes of a path", REG_BINARY, dir.c_str(),
       static_cast<DWORD>((dir.size() + 1) * sizeof(wchar_t))},
      {"longer than a path", REG_SZ, tooLong.c_str(),
       static_cast<DWORD>((tooLong.size() + 1) * sizeof(wchar_t))},
      {"no room for the program names", REG_SZ, nearlyFull.c_str(),
       static_cast<DWORD>((nearlyFull.size() + 1) * sizeof(wchar_t))},
      {"no terminator", REG_SZ, dir.c_str(), static_cast<DWORD>(dir.size() * sizeof(wchar_t))},
      {"odd byte count", REG_SZ, dir.c_str(),
       static_cast<DWORD>((dir.size() + 1) * sizeof(wchar_t) - 1)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    ASSERT_TRUE(entry_.SetRaw(row.type, row.data, row.bytes));
    EXPECT_EQ(0, logic_.StepCloseRunningBrowser());
  }

  entry_.RemoveKey();
  EXPECT_EQ(0, logic_.StepCloseRunningBrowser()) << "no uninstall entry";
  // An entry without the value.
  ASSERT_TRUE(entry_.SetString(dir));
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegOpenKeyExW(HKEY_CURRENT_USER,
                          L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\NuvraBrowser",
                          0, KEY_SET_VALUE, &key));
  RegDeleteValueW(key, L"InstallLocation");
  RegCloseKey(key);
  EXPECT_EQ(0, logic_.StepCloseRunningBrowser()) << "no InstallLocation";
}

// A process that outlives its termination must be reported, not taken for
// ended.  A handle without the right to terminate stands in for a process
// that does not go away.
TEST(TerminateAndWait, ReportsAProcessThatIsStillAlive) {
  ScratchDir dir(L"close-stuck");
  Processes running;
  ASSERT_TRUE(CopyCompanion(L"NuvraWeb.exe", dir.Path(), L"NuvraWeb.exe"));
  HANDLE process = running.Start(dir.Path() + L"NuvraWeb.exe");
  ASSERT_TRUE(process != nullptr);

  HANDLE waitOnly = OpenProcess(SYNCHRONIZE, FALSE, GetProcessId(process));
  ASSERT_TRUE(waitOnly != nullptr);
  SetLastError(0);
  EXPECT_FALSE(TerminateAndWait(waitOnly, 300));
  EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), GetLastError());
  CloseHandle(waitOnly);
  EXPECT_TRUE(IsRunning(process));

  EXPECT_TRUE(TerminateAndWait(process, kProcessEndTimeoutMs));
  EXPECT_FALSE(IsRunning(process));
}

}  // namespace
