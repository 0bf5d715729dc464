// "NuvraUninstall.exe": stands in for the uninstaller, which is not written
// yet.  It tells the user so and ends with 0 once the message is closed.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  MessageBoxW(nullptr,
              L"卸载功能将在后续版本中提供。",
              L"Nuvra游戏浏览器卸载", MB_OK | MB_ICONINFORMATION);
  return 0;
}
