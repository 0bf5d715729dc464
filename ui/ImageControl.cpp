#include "ui/ImageControl.h"

BOOL RequestHoverAndLeave(HWND window) {
  TRACKMOUSEEVENT track = {};
  track.cbSize = sizeof(track);
  track.dwFlags = TME_HOVER | TME_LEAVE;
  track.hwndTrack = window;
  track.dwHoverTime = 10;
  return TrackMouseEvent(&track);
}

void ComposeSpriteOverBackdrop(CPaintBuffer& buffer, Gdiplus::Image* backdrop,
                               int x, int y, int width, int height,
                               Gdiplus::Image* sprite, UINT frame, UINT frameHeight) {
  DrawImagePart(buffer.Surface(), backdrop, 0, 0, width, height, x, y, width, height);
  const UINT64 top = (UINT64)frame * frameHeight;
  if (frameHeight == 0 || top > 0x7FFFFFFF) return;
  DrawImagePart(buffer.Surface(), sprite, 0, 0, width, height, 0, (int)top,
                (int)ImageWidth(sprite), (int)frameHeight);
}

WNDPROC AttachControl(HWND window, void* object, WNDPROC proc) {
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
  return reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

void DetachAndDestroyControl(HWND* window, WNDPROC* previous) {
  if (*window && IsWindow(*window)) {
    if (*previous) SetWindowLongPtrW(*window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(*previous));
    DestroyWindow(*window);
  }
  *previous = nullptr;
  *window = nullptr;
}
