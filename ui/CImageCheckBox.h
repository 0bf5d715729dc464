// CImageCheckBox: a 16 x 16 owner-drawn "BUTTON" child window painted from
// the six-frame check-box sprite.  It keeps its own check value and answers
// BM_GETCHECK and BM_SETCHECK itself (ImageCheckBoxProc); it never toggles
// itself, its owner does.
#pragma once

#include "ui/SkinImage.h"

class CImageCheckBox {
 public:
  CImageCheckBox();

  // Creates the window and loads the object's own copy of the check-box
  // sprite.  FALSE (nothing changed) when the parent is not a window, FALSE
  // when the window cannot be created.  A missing sprite is no failure: the
  // box works but draws nothing.
  BOOL Create(HWND parent, int id, int x, int y);
  // Paints the frame of m_state over backdrop's area under the box.
  void Draw(HDC target, Gdiplus::Image* backdrop);
  // Resets the object, releases the sprite, restores the class procedure and
  // destroys the window.
  void Destroy();

  int m_checked;  // exactly what the last BM_SETCHECK gave
  int m_state;    // 1-3 checked normal/hover/pressed, 4-6 unchecked normal/hover/pressed
  HWND m_hWnd;
  WNDPROC m_prevWndProc;
  HWND m_hParent;
  int m_x;
  int m_y;
  int m_width;
  int m_height;
  Gdiplus::Image* m_image;
  BOOL m_tracking;
};

LRESULT CALLBACK ImageCheckBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
