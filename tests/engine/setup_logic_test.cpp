// CSetupLogic and the install worker, run for real on Windows threads and
// a real window's message queue.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "engine/CSetupLogic.h"

namespace {

// A CSetupLogic whose extra steps record their calls.
class RecordingLogic : public CSetupLogic {
 public:
  int Succeed() { calls.push_back(L's'); return 1; }
  int Fail() { calls.push_back(L'f'); SetLastError(ERROR_ACCESS_DENIED); return 0; }
  std::wstring calls;
};

InstallStep MakeStep(UINT id, int (RecordingLogic::*run)()) {
  return InstallStep{id, static_cast<int (CSetupLogic::*)()>(run)};
}

struct Report {
  WPARAM id;
  LPARAM result;
};

// A message-only window that collects WM_SETUP_STEP_RESULT reports.
class ReportSink {
 public:
  ReportSink() {
    hwnd_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                            nullptr, nullptr, nullptr);
  }
  ~ReportSink() { DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }
  std::vector<Report> Drain() {
    std::vector<Report> out;
    MSG msg;
    while (PeekMessageW(&msg, hwnd_, WM_SETUP_STEP_RESULT, WM_SETUP_STEP_RESULT, PM_REMOVE))
      out.push_back({msg.wParam, msg.lParam});
    return out;
  }

 private:
  HWND hwnd_;
};

DWORD RunOnWorkerThread(CSetupLogic* logic) {
  EXPECT_TRUE(logic->StartWorker());
  HANDLE thread = logic->m_hWorkerThread;
  WaitForSingleObject(thread, INFINITE);
  DWORD code = 0;
  GetExitCodeThread(thread, &code);
  logic->JoinWorker();
  return code;
}

TEST(InstallWorker, EmptyListPostsNothing) {
  ReportSink sink;
  RecordingLogic logic;
  logic.m_hNotifyWnd = sink.hwnd();
  EXPECT_EQ(0u, RunOnWorkerThread(&logic));
  EXPECT_TRUE(sink.Drain().empty());
}

TEST(InstallWorker, NullArgumentIsInvalidParameter) {
  ReportSink sink;
  EXPECT_EQ(87u, InstallWorkerProc(nullptr));
  EXPECT_TRUE(sink.Drain().empty());
}

TEST(InstallWorker, FirstFailureStopsTheRunWithOneReport) {
  ReportSink sink;
  RecordingLogic logic;
  logic.m_hNotifyWnd = sink.hwnd();
  logic.m_steps[0] = MakeStep(4, &RecordingLogic::Fail);
  logic.m_steps[1] = MakeStep(5, &RecordingLogic::Succeed);
  logic.m_stepCount = 2;
  EXPECT_EQ(0u, RunOnWorkerThread(&logic));
  std::vector<Report> reports = sink.Drain();
  ASSERT_EQ(1u, reports.size());
  EXPECT_EQ(4u, reports[0].id);
  EXPECT_EQ(-1, reports[0].result);
  EXPECT_EQ(L"f", logic.calls);
  EXPECT_EQ(0u, logic.m_stepCount);
}

TEST(InstallWorker, SucceedingStepsReportInListOrder) {
  ReportSink sink;
  RecordingLogic logic;
  logic.m_hNotifyWnd = sink.hwnd();
  const UINT ids[] = {7, 3, 5};
  for (UINT id : ids) logic.m_steps[logic.m_stepCount++] = MakeStep(id, &RecordingLogic::Succeed);
  EXPECT_EQ(0u, RunOnWorkerThread(&logic));
  std::vector<Report> reports = sink.Drain();
  ASSERT_EQ(3u, reports.size());
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(ids[i], reports[i].id);
    EXPECT_EQ(0, reports[i].result);
  }
  EXPECT_EQ(L"sss", logic.calls);
  EXPECT_EQ(0u, logic.m_stepCount);
}

TEST(InstallWorker, ListCopiedFromTheTableKeepsTableIds) {
  for (UINT id = 0; id < INSTALL_STEP_COUNT; ++id) EXPECT_EQ(id, g_installStepTable[id].id);
  ReportSink sink;
  RecordingLogic logic;
  logic.m_hNotifyWnd = sink.hwnd();
  // Step 2 is the empty step; give 9 and 0 the empty step's method so the
  // run touches nothing on this machine but keeps the ids 9, 2, 2.
  logic.AddStep(STEP_CLOSE_RUNNING_BROWSER);
  logic.AddStep(STEP_EMPTY);
  logic.m_steps[0].run = &CSetupLogic::StepEmpty;
  logic.AddStep(STEP_EMPTY);
  EXPECT_EQ(0u, RunOnWorkerThread(&logic));
  std::vector<Report> reports = sink.Drain();
  ASSERT_EQ(3u, reports.size());
  EXPECT_EQ(9u, reports[0].id);
  EXPECT_EQ(2u, reports[1].id);
}

// The list has room for 100 steps of the ten in the table; anything else
// is refused instead of written past the table or the list.
TEST(SetupLogic, AddStepRefusesUnknownIdsAndAFullList) {
  const UINT capacity = CSetupLogic::kStepCapacity;
  CSetupLogic logic;
  EXPECT_FALSE(logic.AddStep(INSTALL_STEP_COUNT));
  EXPECT_EQ(0u, logic.m_stepCount);
  for (UINT i = 0; i < capacity; ++i) ASSERT_TRUE(logic.AddStep(i % 10));
  EXPECT_FALSE(logic.AddStep(STEP_EMPTY));
  EXPECT_EQ(capacity, logic.m_stepCount);
  EXPECT_EQ(9u, logic.m_steps[99].id);
}

TEST(SetInstallDir, AppendsABackslashOnlyWhenNeeded) {
  struct Case { const wchar_t* in; const wchar_t* out; };
  const Case cases[] = {
      {L"C:\\Nuvra", L"C:\\Nuvra\\"},
      {L"C:\\Nuvra\\", L"C:\\Nuvra\\"},
      {L"C:/Nuvra/", L"C:/Nuvra/"},
      {L"", L"\\"},
  };
  for (const Case& c : cases) {
    CSetupLogic logic;
    logic.SetInstallDir(c.in);
    EXPECT_EQ(std::wstring(c.out), logic.m_installDir) << c.in;
  }
  CSetupLogic logic;
  logic.SetInstallDir(L"D:\\Games");
  logic.SetInstallDir(nullptr);
  EXPECT_EQ(L"D:\\Games\\", logic.m_installDir);
}

TEST(SetupLogic, GetInstanceIsASingletonUntilDestroyed) {
  CSetupLogic* first = CSetupLogic::GetInstance();
  EXPECT_EQ(first, CSetupLogic::GetInstance());
  EXPECT_EQ(0u, first->m_stepCount);
  EXPECT_TRUE(first->m_installDir.empty());
  EXPECT_EQ(nullptr, first->m_hWorkerThread);
  CSetupLogic::DestroyInstance();
  CSetupLogic* second = CSetupLogic::GetInstance();
  EXPECT_NE(nullptr, second);
  CSetupLogic::DestroyInstance();
}

std::wstring TempDir() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  std::wstring dir = std::wstring(base) + L"nuvra_setup_logic_test\\";
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Touch(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  CloseHandle(h);
}

TEST(SetupLogic, DestructorDeletesTheLeftoverPackageFile) {
  const std::wstring dir = TempDir();
  const std::wstring leftover = dir + L"NuvraBrowserInstallPacket.lzma";
  const std::wstring other = dir + L"SetupPacket.keep";
  Touch(leftover);
  Touch(other);
  {
    CSetupLogic logic;
    logic.SetInstallDir(dir.c_str());
  }
  EXPECT_FALSE(Exists(leftover));
  EXPECT_TRUE(Exists(other));
  DeleteFileW(other.c_str());

  // Never given a directory: the name is taken relative to the current one.
  wchar_t cwd[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, cwd);
  SetCurrentDirectoryW(dir.c_str());
  Touch(leftover);
  { CSetupLogic logic; }
  EXPECT_FALSE(Exists(leftover));
  SetCurrentDirectoryW(cwd);
  RemoveDirectoryW(dir.c_str());
}

}  // namespace
