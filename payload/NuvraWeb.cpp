// "NuvraWeb.exe": the sample web companion.  It runs in the background until
// it is closed or ended.
#include <windows.h>

#include "payload/common/Companion.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  return RunCompanionWindow(instance, L"NuvraWeb", SW_HIDE);
}
