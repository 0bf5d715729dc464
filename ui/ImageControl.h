// What the two image controls share: hover tracking and the sprite
// composition over a copy of the background under the control.
#pragma once

#include "ui/PaintBuffer.h"

// Style of every image control: WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW.
const DWORD kImageControlStyle = 0x5001000B;

// Asks for WM_MOUSEHOVER (after 10 ms) and WM_MOUSELEAVE on `window`; TRUE
// when the request was accepted.
BOOL RequestHoverAndLeave(HWND window);

// Draws into `buffer` the backdrop's (x, y, width, height) at (0, 0), then
// frame `frame` (of height frameHeight) of the sprite over it, stretched to
// width x height.  A frame beyond the strip draws nothing.
void ComposeSpriteOverBackdrop(CPaintBuffer& buffer, Gdiplus::Image* backdrop,
                               int x, int y, int width, int height,
                               Gdiplus::Image* sprite, UINT frame, UINT frameHeight);

// Attaches `object` to `window` and replaces the window's procedure;
// returns the previous procedure.
WNDPROC AttachControl(HWND window, void* object, WNDPROC proc);

// Puts *previous back as the window's procedure, destroys the window if it
// still exists, and clears both.
void DetachAndDestroyControl(HWND* window, WNDPROC* previous);
