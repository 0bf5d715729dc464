// CSetupLogic: the install engine's one object.  It holds the install
// directory, the list of install steps to run and the install worker that
// runs them.  Every install step is a method of this class.
#pragma once

#include <windows.h>

#include <string>

class CSocketMain;
class CSetupLogic;

// Posted by the install worker after each step: wParam = the step's id,
// lParam = 0 on success, -1 on failure.
#define WM_SETUP_STEP_RESULT (WM_USER + 0x209)

struct InstallStep {
  UINT id;
  int (CSetupLogic::*run)();
};

// The ten install steps; the id of each entry equals its position.
enum InstallStepId : UINT {
  STEP_EXTRACT_PACKAGE = 0,
  STEP_WRITE_UNINSTALL_ENTRY = 1,
  STEP_EMPTY = 2,
  STEP_SET_DEFAULT_BROWSER = 3,
  STEP_START_MENU_SHORTCUTS = 4,
  STEP_DESKTOP_SHORTCUT = 5,
  STEP_GAME_PORTAL_SHORTCUT = 6,
  STEP_QUICK_LAUNCH_SHORTCUT = 7,
  STEP_LAUNCH_BROWSER = 8,
  STEP_CLOSE_RUNNING_BROWSER = 9,
  INSTALL_STEP_COUNT = 10
};

extern const InstallStep g_installStepTable[INSTALL_STEP_COUNT];

class CSetupLogic {
 public:
  static const UINT kStepCapacity = 100;

  // Get-or-create; called on the user-interface thread only.
  static CSetupLogic* GetInstance();
  // Destroys the instance (if any) and clears the process-wide pointer.
  static void DestroyInstance();

  CSetupLogic();
  virtual ~CSetupLogic();

  // Stores dir, appending a backslash unless it already ends with '\' or
  // '/'.  A null dir changes nothing.
  void SetInstallDir(const wchar_t* dir);

  // Copies the table entry `id` into the next free slot of the step list.
  // FALSE (ERROR_INVALID_PARAMETER), with the list unchanged, for an id
  // that is not in the table or when the list is full.
  BOOL AddStep(UINT id);

  // Starts InstallWorkerProc on this instance; FALSE if the thread could
  // not be started (the last-error value says why).
  BOOL StartWorker();

  // Waits for the worker without a time limit and closes its handle.
  void JoinWorker();

  // Install steps: non-zero on success, 0 on failure (with the last-error
  // value of the call that failed).
  int StepExtractPackage();
  int StepWriteUninstallEntry();
  int StepEmpty();
  int StepSetDefaultBrowser();
  int StepStartMenuShortcuts();
  int StepDesktopShortcut();
  int StepGamePortalShortcut();
  int StepQuickLaunchShortcut();
  int StepLaunchBrowser();
  int StepCloseRunningBrowser();

  InstallStep m_steps[kStepCapacity];
  UINT m_stepCount;
  std::wstring m_installDir;
  HANDLE m_hWorkerThread;
  HWND m_hNotifyWnd;
  CSocketMain* m_pSocket;

 private:
  CSetupLogic(const CSetupLogic&) = delete;
  CSetupLogic& operator=(const CSetupLogic&) = delete;
};

// The install worker: runs the step list of the CSetupLogic passed as arg.
// Returns 87 (ERROR_INVALID_PARAMETER) for a null argument, else 0.
unsigned __stdcall InstallWorkerProc(void* arg);
