// run_steps: runs an installation the way the installer window starts one,
// without the window: builds the default step list (9 when a browser is
// running, then 0, 1, 4, 5, 7, 8, with 3 after 1 when asked), starts the
// install worker and prints each step's report.  Used by the main job and
// the end-to-end test until the installer window exists.
//
//   run_steps.exe [--dir DIR] [--default-browser] [--steps 0,1,...]
//
// Exit code: 0 when every listed step succeeded, 1 when one failed, 2 on
// bad usage.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "engine/CSetupLogic.h"

namespace {

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\NuvraBrowser";

// The previous installation's directory, else the per-user default.
std::wstring DefaultInstallDir() {
  wchar_t buf[MAX_PATH] = {};
  DWORD bytes = sizeof(buf) - sizeof(wchar_t);
  DWORD type = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, L"InstallLocation", RRF_RT_REG_SZ,
                   &type, buf, &bytes) == ERROR_SUCCESS && buf[0])
    return buf;
  DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", buf, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return L"";
  return std::wstring(buf) + L"\\Nuvra\\NuvraBrowser\\";
}

bool BrowserRunning() {
  HANDLE h = OpenMutexW(SYNCHRONIZE, FALSE, L"NuvraBrowser.exe");
  if (h) {
    CloseHandle(h);
    return true;
  }
  return GetLastError() == ERROR_ACCESS_DENIED;
}

std::vector<UINT> ParseSteps(const wchar_t* text) {
  std::vector<UINT> ids;
  for (const wchar_t* p = text; *p;) {
    wchar_t* end = nullptr;
    unsigned long id = wcstoul(p, &end, 10);
    if (end == p || id >= INSTALL_STEP_COUNT) return {};
    ids.push_back(static_cast<UINT>(id));
    p = (*end == L',') ? end + 1 : end;
  }
  return ids;
}

std::vector<UINT> DefaultSteps(bool defaultBrowser) {
  std::vector<UINT> ids;
  if (BrowserRunning()) ids.push_back(STEP_CLOSE_RUNNING_BROWSER);
  ids.push_back(STEP_EXTRACT_PACKAGE);
  ids.push_back(STEP_WRITE_UNINSTALL_ENTRY);
  if (defaultBrowser) ids.push_back(STEP_SET_DEFAULT_BROWSER);
  ids.push_back(STEP_START_MENU_SHORTCUTS);
  ids.push_back(STEP_DESKTOP_SHORTCUT);
  ids.push_back(STEP_QUICK_LAUNCH_SHORTCUT);
  ids.push_back(STEP_LAUNCH_BROWSER);
  return ids;
}

// Runs the list on the install worker and prints its reports as they come.
int RunSteps(const std::wstring& dir, const std::vector<UINT>& ids) {
  HWND sink = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              nullptr, nullptr);
  CSetupLogic* logic = CSetupLogic::GetInstance();
  logic->SetInstallDir(dir.c_str());
  logic->m_hNotifyWnd = sink;
  for (UINT id : ids) logic->AddStep(id);
  wprintf(L"install directory: %ls\n", logic->m_installDir.c_str());
  if (!logic->StartWorker()) {
    wprintf(L"cannot start the install worker (error %lu)\n", GetLastError());
    return 1;
  }
  int result = 0;
  size_t reported = 0;
  while (WaitForSingleObject(logic->m_hWorkerThread, 50) == WAIT_TIMEOUT || reported < ids.size()) {
    MSG msg;
    bool any = false;
    while (PeekMessageW(&msg, sink, WM_SETUP_STEP_RESULT, WM_SETUP_STEP_RESULT, PM_REMOVE)) {
      any = true;
      ++reported;
      const bool ok = msg.lParam == 0;
      wprintf(L"step %u: %ls\n", static_cast<unsigned>(msg.wParam), ok ? L"ok" : L"FAILED");
      if (!ok) {
        result = 1;
        reported = ids.size();
      }
    }
    if (!any && WaitForSingleObject(logic->m_hWorkerThread, 0) == WAIT_OBJECT_0) break;
  }
  fflush(stdout);
  logic->JoinWorker();
  CSetupLogic::DestroyInstance();
  DestroyWindow(sink);
  return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring dir;
  bool defaultBrowser = false;
  std::vector<UINT> ids;
  for (int i = 1; i < argc; ++i) {
    if (!wcscmp(argv[i], L"--dir") && i + 1 < argc) {
      dir = argv[++i];
    } else if (!wcscmp(argv[i], L"--default-browser")) {
      defaultBrowser = true;
    } else if (!wcscmp(argv[i], L"--steps") && i + 1 < argc) {
      ids = ParseSteps(argv[++i]);
      if (ids.empty()) {
        fwprintf(stderr, L"run_steps: bad step list: %ls\n", argv[i]);
        return 2;
      }
    } else {
      fwprintf(stderr, L"usage: run_steps.exe [--dir DIR] [--default-browser] [--steps 0,1,...]\n");
      return 2;
    }
  }
  if (dir.empty()) dir = DefaultInstallDir();
  if (ids.empty()) ids = DefaultSteps(defaultBrowser);
  return RunSteps(dir, ids);
}
