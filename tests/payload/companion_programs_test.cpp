// The companion programs of the sample payload, started for real next to
// this test: the mutexes they hold, how they end, the browser's version and
// icon, the launch traces and the control program's browser registration.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "payload/common/Companion.h"

namespace {

const wchar_t kTraceKey[] = L"SOFTWARE\\NuvraBrowser\\Trace";
const wchar_t kClientKey[] = L"Software\\Clients\\StartMenuInternet\\NuvraBrowser";
const wchar_t kProgIdKey[] = L"Software\\Classes\\NuvraBrowserHTML";
const wchar_t kStartMenuInternetKey[] = L"Software\\Clients\\StartMenuInternet";
const wchar_t kRegisteredAppsKey[] = L"Software\\RegisteredApplications";

// Process starts under Wine are slow on a busy machine.
const DWORD kStartTimeoutMs = 15000;
// What the installer allows a terminated program before it gives up.
const DWORD kEndTimeoutMs = 2000;

std::wstring BinFolder() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.rfind(L'\\') + 1);
}

std::wstring CompanionPath(const wchar_t* name) { return BinFolder() + name; }

// A started program; ended and released when the test leaves.
class Child {
 public:
  // `show` is passed the way a shell start passes it (SW_HIDE for the
  // installer's browser start).
  Child(const std::wstring& exe, const std::wstring& args, WORD show = SW_SHOWNORMAL) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!args.empty()) commandLine += L" " + args;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = show;
    started_ = CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &si, &pi_) != FALSE;
  }
  ~Child() {
    if (!started_) return;
    if (Running()) {
      TerminateProcess(pi_.hProcess, 1);
      WaitForSingleObject(pi_.hProcess, kEndTimeoutMs);
    }
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool Started() const { return started_; }
  HANDLE Process() const { return pi_.hProcess; }
  DWORD Id() const { return pi_.dwProcessId; }
  bool Running() const { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

  // Exit code once ended within `ms`, else STILL_ACTIVE.
  DWORD WaitForExit(DWORD ms) const {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(pi_.hProcess, ms) == WAIT_OBJECT_0) GetExitCodeProcess(pi_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION pi_ = {};
  bool started_ = false;
};

template <typename Condition>
bool PollFor(DWORD ms, Condition condition) {
  for (DWORD waited = 0;; waited += 50) {
    if (condition()) return true;
    if (waited >= ms) return false;
    Sleep(50);
  }
}

bool MutexExists(const wchar_t* name) {
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, name);
  if (!mutex) return false;
  CloseHandle(mutex);
  return true;
}

struct WindowSearch {
  DWORD processId;
  bool found;
};

BOOL CALLBACK FindVisibleWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner == search->processId && IsWindowVisible(hwnd)) search->found = true;
  return !search->found;
}

bool HasVisibleWindow(DWORD processId) {
  WindowSearch search = {processId, false};
  EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A REG_SZ under HKEY_CURRENT_USER; false when missing or of another type.
bool ReadUserString(const wchar_t* key, const wchar_t* name, std::wstring* value) {
  wchar_t data[1024];
  DWORD bytes = sizeof(data);
  if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, data, &bytes) != ERROR_SUCCESS)
    return false;
  *value = data;
  return true;
}

bool KeyExists(HKEY root, const wchar_t* key) {
  HKEY handle;
  if (RegOpenKeyExW(root, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

// The trace key holds only the companions' launch records.
void DeleteTrace() { RegDeleteTreeW(HKEY_CURRENT_USER, kTraceKey); }

// Removes what NuvraCtrl.exe registers, puts back the user's Start-menu
// browser as it was and removes the parent keys that were not there before.
class RegistrationCleanup {
 public:
  RegistrationCleanup() {
    hadStartMenuBrowser_ = ReadUserString(kStartMenuInternetKey, nullptr, &startMenuBrowser_);
    for (const wchar_t* key : kParents)
      if (!KeyExists(HKEY_CURRENT_USER, key)) created_.push_back(key);
  }
  ~RegistrationCleanup() { Clean(); }
  void Clean() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kClientKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, kProgIdKey);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRegisteredAppsKey, L"NuvraBrowser");
    if (hadStartMenuBrowser_)
      SetUserString(kStartMenuInternetKey, nullptr, startMenuBrowser_.c_str());
    else
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kStartMenuInternetKey, nullptr);
    // Deepest first; a key that gained other subkeys meanwhile stays.
    for (const wchar_t* key : created_) RegDeleteKeyW(HKEY_CURRENT_USER, key);
    DeleteTrace();
  }

 private:
  static constexpr const wchar_t* kParents[] = {kStartMenuInternetKey, L"Software\\Clients", kRegisteredAppsKey};
  bool hadStartMenuBrowser_;
  std::wstring startMenuBrowser_;
  std::vector<const wchar_t*> created_;
};

void ExpectTrace(const wchar_t* program, const wchar_t* args) {
  std::wstring value, path;
  ASSERT_TRUE(ReadUserString(kTraceKey, program, &value)) << "no trace of " << testing::PrintToString(program);
  EXPECT_EQ(value, args);
  ASSERT_TRUE(ReadUserString(kTraceKey, (std::wstring(program) + L".path").c_str(), &path));
  EXPECT_EQ(CompareStringOrdinal(path.c_str(), -1, CompanionPath(program).c_str(), -1, TRUE), CSTR_EQUAL)
      << testing::PrintToString(path);
}

TEST(CompanionPrograms, RunUntilTerminatedHoldingTheirMutexes) {
  struct Case {
    const wchar_t* program;
    const wchar_t* mutex;  // null: holds none
  };
  const Case cases[] = {
      {L"NuvraBrowser.exe", L"NuvraBrowser.exe"},
      {L"NuvraUpdate.exe", L"NuvraUpdate.exe"},
      {L"NuvraWeb.exe", nullptr},
      {L"NuvraUninstall.exe", nullptr},
  };
  DeleteTrace();
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.program));
    if (c.mutex) ASSERT_FALSE(MutexExists(c.mutex)) << "left over from another run";
    Child child(CompanionPath(c.program), L"");
    ASSERT_TRUE(child.Started()) << GetLastError();

    if (c.mutex) {
      EXPECT_TRUE(PollFor(kStartTimeoutMs, [&] { return MutexExists(c.mutex) || !child.Running(); }));
      EXPECT_TRUE(MutexExists(c.mutex));
    } else {
      EXPECT_EQ(WaitForInputIdle(child.Process(), kStartTimeoutMs), 0u);
    }
    Sleep(200);
    ASSERT_TRUE(child.Running()) << "ended by itself with " << child.WaitForExit(0);

    ASSERT_TRUE(TerminateProcess(child.Process(), 0));
    EXPECT_EQ(child.WaitForExit(kEndTimeoutMs), 0u);
    if (c.mutex) EXPECT_FALSE(MutexExists(c.mutex)) << "mutex outlives the program";
  }
  // Only "-Setup" leaves a browser trace.
  std::wstring value;
  EXPECT_FALSE(ReadUserString(kTraceKey, L"NuvraBrowser.exe", &value));
}

TEST(CompanionPrograms, BrowserCarriesVersionAndIcon) {
  std::wstring browser = CompanionPath(L"NuvraBrowser.exe");
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(browser.c_str(), &ignored);
  ASSERT_GT(size, 0u) << GetLastError();
  std::vector<BYTE> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(browser.c_str(), 0, size, info.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize));
  ASSERT_GE(fixedSize, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));  // 1.0
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(1, 0));  // .0.1

  wchar_t* text = nullptr;
  UINT textLength = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\080404b0\\FileVersion",
                             reinterpret_cast<void**>(&text), &textLength));
  EXPECT_STREQ(text, L"1.0.0.1");

  // Index 0 is what shortcuts and the uninstall entry show.
  EXPECT_GE(ExtractIconExW(browser.c_str(), -1, nullptr, nullptr, 0), 1u);
}

// Windows 6.0 and later would ask to elevate programs whose names contain
// "Update" or "Install" unless their manifest says otherwise.
TEST(CompanionPrograms, EveryProgramAsksToRunAsInvoker) {
  for (const wchar_t* program :
       {L"NuvraBrowser.exe", L"NuvraUpdate.exe", L"NuvraWeb.exe", L"NuvraCtrl.exe", L"NuvraUninstall.exe"}) {
    SCOPED_TRACE(testing::PrintToString(program));
    HMODULE module = LoadLibraryExW(CompanionPath(program).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    ASSERT_NE(found, nullptr);
    const char* manifest = static_cast<const char*>(LockResource(LoadResource(module, found)));
    std::string text(manifest, SizeofResource(module, found));
    EXPECT_NE(text.find("level=\"asInvoker\""), std::string::npos);
    FreeLibrary(module);
  }
}

TEST(CompanionPrograms, BrowserSetupLeavesTraceAndShowsItsWindowThoughStartedHidden) {
  DeleteTrace();
  Child browser(CompanionPath(L"NuvraBrowser.exe"), L"-Setup", SW_HIDE);
  ASSERT_TRUE(browser.Started());
  std::wstring value;
  EXPECT_TRUE(PollFor(kStartTimeoutMs, [&] {
    return ReadUserString(kTraceKey, L"NuvraBrowser.exe", &value) || !browser.Running();
  }));
  ExpectTrace(L"NuvraBrowser.exe", L"-Setup");
  EXPECT_TRUE(PollFor(kStartTimeoutMs, [&] { return HasVisibleWindow(browser.Id()); }));
  EXPECT_TRUE(browser.Running());
  DeleteTrace();
}

TEST(CompanionPrograms, CtrlTracesOtherStartsWithoutRegistering) {
  struct Case {
    const wchar_t* args;
    DWORD exitCode;
  };
  const Case cases[] = {
      {L"", 0},
      {L"/Unknown x", ERROR_INVALID_PARAMETER},
      {L"/SetDefBrowser2", ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    RegistrationCleanup cleanup;
    cleanup.Clean();
    Child ctrl(CompanionPath(L"NuvraCtrl.exe"), c.args);
    ASSERT_TRUE(ctrl.Started());
    EXPECT_EQ(ctrl.WaitForExit(kStartTimeoutMs), c.exitCode);
    ExpectTrace(L"NuvraCtrl.exe", c.args);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kClientKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProgIdKey));
  }
}

TEST(CompanionPrograms, CtrlSetDefBrowserRegistersTheBrowserBesideItForTheUserOnly) {
  RegistrationCleanup cleanup;
  cleanup.Clean();
  Child ctrl(CompanionPath(L"NuvraCtrl.exe"), L"/SetDefBrowser");
  ASSERT_TRUE(ctrl.Started());
  ASSERT_EQ(ctrl.WaitForExit(kStartTimeoutMs), 0u);
  ExpectTrace(L"NuvraCtrl.exe", L"/SetDefBrowser");

  const std::wstring browser = CompanionPath(L"NuvraBrowser.exe");
  const std::wstring client = kClientKey;
  const std::wstring caps = client + L"\\Capabilities";
  const std::wstring progId = kProgIdKey;
  struct Expected {
    std::wstring key;
    const wchar_t* name;
    std::wstring value;
  };
  const Expected expected[] = {
      {client, nullptr, L"Nuvra游戏浏览器"},
      {client + L"\\DefaultIcon", nullptr, browser + L",0"},
      {client + L"\\shell\\open\\command", nullptr, L"\"" + browser + L"\""},
      {caps, L"ApplicationName", L"Nuvra游戏浏览器"},
      {caps + L"\\URLAssociations", L"http", L"NuvraBrowserHTML"},
      {caps + L"\\URLAssociations", L"https", L"NuvraBrowserHTML"},
      {caps + L"\\FileAssociations", L".htm", L"NuvraBrowserHTML"},
      {caps + L"\\FileAssociations", L".html", L"NuvraBrowserHTML"},
      {kRegisteredAppsKey, L"NuvraBrowser", caps},
      {progId + L"\\DefaultIcon", nullptr, browser + L",0"},
      {progId + L"\\shell\\open\\command", nullptr, L"\"" + browser + L"\" \"%1\""},
      {kStartMenuInternetKey, nullptr, L"NuvraBrowser"},
  };
  for (const Expected& e : expected) {
    std::wstring value;
    SCOPED_TRACE(testing::PrintToString(e.key + L" : " + (e.name ? e.name : L"(default)")));
    ASSERT_TRUE(ReadUserString(e.key.c_str(), e.name, &value));
    EXPECT_EQ(value, e.value);
  }
  std::wstring description;
  EXPECT_TRUE(ReadUserString(caps.c_str(), L"ApplicationDescription", &description));
  EXPECT_FALSE(description.empty());

  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClientKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProgIdKey));
}

TEST(CompanionArguments, ArgumentTextFollowsTheProgramPath) {
  struct Case {
    const wchar_t* commandLine;
    const wchar_t* args;
  };
  const Case cases[] = {
      {L"\"C:\\Program Files\\Nuvra\\NuvraBrowser.exe\" -Setup", L"-Setup"},
      {L"C:\\Nuvra\\NuvraCtrl.exe /SetDefBrowser", L"/SetDefBrowser"},
      {L"\"C:\\a b\\x.exe\"\t  /SetDefBrowser \t", L"/SetDefBrowser"},
      {L"x.exe one  two", L"one  two"},
      {L"\"C:\\a b\\x.exe\"", L""},
      {L"x.exe", L""},
      {L"x.exe   ", L""},
      {L"\"C:\\unterminated quote -Setup", L""},
      {L"", L""},
      {nullptr, L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.commandLine ? c.commandLine : L"(null)"));
    ArgumentText found = FindArgumentText(c.commandLine);
    EXPECT_EQ(std::wstring(found.begin, found.length), c.args);
  }
  ArgumentText setup = FindArgumentText(L"x.exe -SETUP");
  EXPECT_TRUE(ArgumentIs(setup, L"-Setup"));
  EXPECT_FALSE(ArgumentIs(setup, L"-Set"));
  EXPECT_FALSE(ArgumentIs(FindArgumentText(L"x.exe -Setup2"), L"-Setup"));
}

TEST(CompanionArguments, TextBuilderNeverCutsSilently) {
  wchar_t buffer[6];
  TextBuilder exact(buffer, 6);
  EXPECT_TRUE(exact.Add(L"ab").Add(L"cde").Fits());
  EXPECT_STREQ(exact.Text(), L"abcde");
  EXPECT_EQ(exact.Length(), 5u);

  TextBuilder over(buffer, 6);
  EXPECT_FALSE(over.Add(L"abc").Add(L"def").Fits());
  EXPECT_FALSE(over.Add(L"").Fits()) << "a cut text stays marked";

  wchar_t guard[3] = {L'x', L'x', L'#'};
  TextBuilder small(guard, 2);
  EXPECT_FALSE(small.Add(L"ab").Fits());
  EXPECT_EQ(guard[2], L'#') << "wrote past the capacity";
  EXPECT_FALSE(TextBuilder(guard, 0).Add(L"").Fits());
}

}  // namespace
