#include "shell/SingleInstance.h"

const wchar_t kSetupWindowTitle[] = L"Nuvra游戏浏览器安装/卸载程序";

void ActivateFirstCopy() {
  HWND first = FindWindowW(nullptr, kSetupWindowTitle);
  if (!first) return;
  ShowWindow(first, SW_SHOWNORMAL);
  SetForegroundWindow(first);
  BringWindowToTop(first);
}
