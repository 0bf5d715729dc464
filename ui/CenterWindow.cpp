#include "ui/CenterWindow.h"

namespace {

// Moves [pos, pos + size) inside [low, high).  When the window is larger
// than the area the low edge wins, wherever the centre put it: the high
// edge is applied first so that the low edge has the last word (a window
// centred on an owner near the right edge would otherwise be pushed past
// the left edge of the work area).
int Clamp(int pos, int size, int low, int high) {
  if (pos + size > high) pos = high - size;
  if (pos < low) pos = low;
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
