// "NuvraBrowser.exe": the sample browser of the default payload.  While it
// runs it holds the mutex "NuvraBrowser.exe", by which the installer sees a
// running browser.  Started with "-Setup" (the installer's last step) it
// records the launch and shows its window; otherwise it runs with the show
// command it was given until it is closed or ended.
#include <windows.h>

#include "payload/common/Companion.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  NamedMutex running(L"NuvraBrowser.exe");
  if (!running.Held()) return static_cast<int>(GetLastError());

  if (ArgumentIs(OwnArgumentText(), L"-Setup")) {
    // A failed trace write does not keep the user from the browser.
    WriteLaunchTrace(L"NuvraBrowser.exe");
    showCommand = SW_SHOWNORMAL;
  }
  return RunCompanionWindow(instance, L"Nuvra游戏浏览器", showCommand);
}
