// "NuvraUpdate.exe": the sample updater.  It runs in the background, holding
// the mutex "NuvraUpdate.exe" by which the installer sees it, until it is
// closed or ended.
#include <windows.h>

#include "payload/common/Companion.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  NamedMutex running(L"NuvraUpdate.exe");
  if (!running.Held()) return static_cast<int>(GetLastError());
  return RunCompanionWindow(instance, L"NuvraUpdate", SW_HIDE);
}
