// The install worker: runs the step list in order on its own thread and
// reports each step to the window with a posted WM_SETUP_STEP_RESULT.
#include <objbase.h>

#include "engine/CSetupLogic.h"

unsigned __stdcall InstallWorkerProc(void* arg) {
  if (!arg) return ERROR_INVALID_PARAMETER;
  CSetupLogic* logic = static_cast<CSetupLogic*>(arg);
  const UINT count = logic->m_stepCount;
  // The shortcut steps need COM on this thread; a failure here makes those
  // steps fail on their own.
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  for (UINT i = 0; i < count; ++i) {
    const InstallStep& step = logic->m_steps[i];
    const bool ok = (logic->*step.run)() != 0;
    PostMessageW(logic->m_hNotifyWnd, WM_SETUP_STEP_RESULT, step.id, ok ? 0 : -1);
    if (!ok) break;
  }
  logic->m_stepCount = 0;
  CoUninitialize();
  return 0;
}
