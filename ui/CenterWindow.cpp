#include "ui/CenterWindow.h"

namespace {

// Moves [pos, pos + size) inside [low, high); the low edge wins when the
// window is larger than the area.
int Clamp(int pos, int size, int low, int high) {
  if (pos < low) return low;
  if (pos + size > high) return high - size;
  return pos;
}

}  // namespace

void CenterWindow(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  HWND owner = GetWindow(window, GW_OWNER);
  if (owner) {
    LONG style = GetWindowLongW(owner, GWL_STYLE);
    if (!(style & WS_VISIBLE) || (style & WS_MINIMIZE)) owner = nullptr;
  }
  RECT area = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  RECT centre = area;
  if (owner) GetWindowRect(owner, &centre);

  const int w = r.right - r.left, h = r.bottom - r.top;
  int x = (centre.left + centre.right) / 2 - w / 2;
  int y = (centre.top + centre.bottom) / 2 - h / 2;
  x = Clamp(x, w, area.left, area.right);
  y = Clamp(y, h, area.top, area.bottom);
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
