// Steps 3 and 8 start the installed programs for real (their launch trace
// shows the arguments they got), and the verbs of steps 3, 4 and 7 follow
// the Windows version the process runs under.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/CSetupLogic.h"
#include "engine/ShellLaunch.h"
#include "tests/steps/StepTestSupport.h"

using namespace steptest;

namespace {

const DWORD kTraceWaitMs = 15000;

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

class LaunchStepsTest : public ::testing::Test {
 protected:
  void SetUp() override { logic_.SetInstallDir(install_.Path().c_str()); }
  void TearDown() override { EndProcessesUnder(install_.Path()); }

  ScratchDir install_{L"launch"};
  CSetupLogic logic_;
};

// Each program records the argument text it was started with and its own
// path: the installed copy got exactly the step's switch.
TEST_F(LaunchStepsTest, StepsStartTheInstalledProgramWithItsSwitch) {
  const struct {
    const wchar_t* program;
    int (CSetupLogic::*step)();
    const wchar_t* arguments;
  } rows[] = {
      {L"NuvraCtrl.exe", &CSetupLogic::StepSetDefaultBrowser, L"/SetDefBrowser"},
      {L"NuvraBrowser.exe", &CSetupLogic::StepLaunchBrowser, L"-Setup"},
  };
  for (const auto& row : rows) {
    const std::wstring program = row.program;
    SCOPED_TRACE(testing::PrintToString(program));
    ASSERT_TRUE(CopyCompanion(row.program, install_.Path(), row.program));
    ClearTrace(row.program);
    EXPECT_EQ(1, (logic_.*row.step)());
    EXPECT_EQ(row.arguments, WaitForTrace(program, kTraceWaitMs));
    EXPECT_TRUE(SamePath(install_.Path() + program, WaitForTrace(program + L".path", kTraceWaitMs)));
  }
}

BOOL WINAPI RefuseStart(SHELLEXECUTEINFOW*) {
  SetLastError(ERROR_CANCELLED);
  return FALSE;
}

// The user turning down the elevation prompt reaches step 3 as a start the
// shell did not make.  (A real start of a missing program cannot stand in
// here: the shell then shows an error box that waits for the user.)
TEST_F(LaunchStepsTest, StartTheShellRefusesFailsTheStep) {
  ASSERT_TRUE(CopyCompanion(L"NuvraCtrl.exe", install_.Path(), L"NuvraCtrl.exe"));
  const ShellExecuteExFn saved = g_shellExecuteEx;
  g_shellExecuteEx = &RefuseStart;
  EXPECT_EQ(0, logic_.StepSetDefaultBrowser());
  EXPECT_EQ(static_cast<DWORD>(ERROR_CANCELLED), GetLastError());
  EXPECT_EQ(0, logic_.StepLaunchBrowser());
  g_shellExecuteEx = saved;
}

// ---- Verbs by Windows version, seen through steps_verb_probe.exe ----

const wchar_t kProbeName[] = L"steps_verb_probe.exe";
const wchar_t kProbeDefaultsKey[] = L"Software\\Wine\\AppDefaults\\steps_verb_probe.exe";

// Runs the probe under Wine's Windows version `version`; its output lines.
std::vector<std::wstring> RunProbe(const wchar_t* version, const std::wstring& installDir,
                                   const std::wstring& outFile) {
  std::vector<std::wstring> lines;
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kProbeDefaultsKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    return lines;
  RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                 static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t)));
  RegCloseKey(key);

  const std::wstring exe = BinDir() + kProbeName;
  // A backslash before a closing quote would escape the quote; the step
  // adds the directory's separator itself.
  const std::wstring dirArg = installDir.substr(0, installDir.find_last_not_of(L'\\') + 1);
  std::wstring commandLine = L"\"" + exe + L"\" \"" + dirArg + L"\" \"" + outFile + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  const BOOL started = CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                                      nullptr, nullptr, &startup, &info);
  DWORD exitCode = 1;
  if (started) {
    WaitForSingleObject(info.hProcess, 60000);
    GetExitCodeProcess(info.hProcess, &exitCode);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  RegDeleteKeyW(HKEY_CURRENT_USER, kProbeDefaultsKey);
  std::string bytes;
  if (exitCode != 0 || !ReadWholeFile(outFile, &bytes)) return lines;

  std::wstring text(bytes.size(), L'\0');
  text.resize(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                  &text[0], static_cast<int>(text.size())));
  size_t start = 0;
  for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

class VerbProbeTest : public ::testing::Test {
 protected:
  void TearDown() override {
    const std::wstring programs = ShellFolder(CSIDL_PROGRAMS);
    RemoveTree(programs + L"\\Nuvra游戏浏览器.lnk");
    RemoveTree(programs + L"\\Nuvra软件中心");
    RemoveTree(ShellFolder(CSIDL_APPDATA) +
               L"\\Microsoft\\Internet Explorer\\Quick Launch\\Nuvra游戏浏览器.lnk");
  }
  ScratchDir install_{L"verbs"};
  ScratchDir output_{L"verbs-out"};
};

TEST_F(VerbProbeTest, ElevationAndPinsFromWindows6On) {
  const std::wstring dir = install_.Path();
  const std::wstring groupLink =
      ShellFolder(CSIDL_PROGRAMS) + L"\\Nuvra软件中心\\Nuvra游戏浏览器\\Nuvra游戏浏览器.lnk";
  const std::wstring quickLaunchLink =
      ShellFolder(CSIDL_APPDATA) +
      L"\\Microsoft\\Internet Explorer\\Quick Launch\\Nuvra游戏浏览器.lnk";
  const struct {
    const wchar_t* version;
    int code;
    bool windows6;
  } rows[] = {
      {L"winxp", 5, false},
      {L"win2003", 6, false},
      {L"vista", 7, true},
      {L"win2008", 8, true},
      // Without a manifest that names it, Windows 10 answers as 6.2.
      {L"win10", 11, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(row.version)));
    const std::vector<std::wstring> lines =
        RunProbe(row.version, dir, output_.Path() + row.version + L".txt");
    ASSERT_FALSE(lines.empty()) << "the probe did not run";

    // Every start is a hidden 60-byte request without mask flags; pins the
    // shell refuses leave steps 4 and 7 successful.
    const std::wstring setDefault = std::wstring(L"ex ") + (row.windows6 ? L"runas" : L"open") +
                                    L"|" + dir + L"NuvraCtrl.exe|/SetDefBrowser|0|0|60";
    std::vector<std::wstring> expected = {
        L"code " + std::to_wstring(row.code), setDefault, L"step3 1"};
    if (row.windows6) expected.push_back(L"pin startpin|" + groupLink);
    expected.push_back(L"step4 1");
    if (row.windows6) expected.push_back(L"pin taskbarpin|" + quickLaunchLink);
    expected.push_back(L"step7 1");
    expected.push_back(L"ex open|" + dir + L"NuvraBrowser.exe|-Setup|0|0|60");
    expected.push_back(L"step8 1");
    EXPECT_EQ(expected, lines);
  }
}

}  // namespace
