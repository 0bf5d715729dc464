// CImageButton: an owner-drawn "BUTTON" child window painted from a sprite
// strip (normal, hover, pressed) over the background under it.  The object
// follows the mouse through its own window procedure, ImageButtonProc.
#pragma once

#include <string>

#include "ui/SkinImage.h"

class CImageButton {
 public:
  CImageButton();

  // Creates the button window; FALSE (nothing changed) when the parent is
  // not a window or the sprite is null, FALSE when the window cannot be
  // created.  The sprite stays owned by the caller.
  BOOL Create(Gdiplus::Image* sprite, HWND parent, int id, int x, int y, int width, int height);
  // Paints the frame of m_state over backdrop's area under the button.
  void Draw(HDC target, Gdiplus::Image* backdrop);
  // Resets the object, restores the class procedure and destroys the window.
  void Destroy();

  BOOL m_enabled;
  int m_state;  // 1 normal, 2 hover, 3 pressed, 4 disabled
  HWND m_hWnd;
  WNDPROC m_prevWndProc;
  HWND m_hParent;
  int m_x;
  int m_y;
  int m_width;
  int m_height;
  Gdiplus::Image* m_image;
  BOOL m_tracking;
  int m_id;
  std::wstring m_text;
  COLORREF m_textColor[4];
  UINT m_frameCount;
};

LRESULT CALLBACK ImageButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
