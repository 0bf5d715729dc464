// Process entry point of NuvraSetup.exe: the single-instance guard, the
// start-up order, the message loop and the fixed shut-down order.
#include <windows.h>

#include "engine/CSetupLogic.h"
#include "shell/CAutoMutex.h"
#include "shell/CompatibilityMark.h"
#include "shell/SingleInstance.h"
#include "ui/CSetupUI.h"
#include "ui/MainWindow.h"

namespace {

// Runs the loop until the quit message; returns its exit code.  A get that
// reports an error (-1) does not end the loop.
int RunMessageLoop() {
  MSG msg = {};
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// The installation cannot be cancelled: the process stays until the install
// worker has run the rest of its list, then tears down in a fixed order.
void ShutDown() {
  CSetupLogic* logic = CSetupLogic::GetInstance();
  logic->JoinWorker();
  CSetupLogic::DestroyInstance();
  if (CSetupUI* ui = CSetupUI::GetInstance()) ui->Release();
  CSetupUI::DestroyInstance();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  CAutoMutex guard(CreateMutexW(nullptr, TRUE, L"NuvraBrowserSetup"));
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    ActivateFirstCopy();
    return 0;
  }
  SetErrorMode(SEM_NOOPENFILEERRORBOX);
  HKEY compatKey = MarkCompatibilityAssistant();

  int exitCode = 0;
  if (CSetupUI* ui = CSetupUI::GetInstance()) {
    ui->CreateResources();
    if (CreateMainWindow(instance)) exitCode = RunMessageLoop();
  }
  ShutDown();

  if (compatKey) RegCloseKey(compatKey);
  return exitCode;
}
