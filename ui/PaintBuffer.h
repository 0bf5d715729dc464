// Double-buffered painting: a memory bitmap compatible with the target, a
// GDI+ surface over it, and one SRCCOPY transfer to the target.
//
//   CPaintBuffer buffer(hdc, width, height);
//   if (buffer.Ok()) { draw with buffer.Surface() / buffer.Dc(); buffer.CopyTo(hdc); }
#pragma once

#include "ui/SkinImage.h"

class CPaintBuffer {
 public:
  CPaintBuffer(HDC target, int width, int height);
  ~CPaintBuffer();
  CPaintBuffer(const CPaintBuffer&) = delete;
  CPaintBuffer& operator=(const CPaintBuffer&) = delete;

  bool Ok() const { return m_surface != nullptr; }
  HDC Dc() const { return m_hDc; }
  Gdiplus::Graphics* Surface() const { return m_surface; }
  // Copies the whole buffer to (0, 0) of the target.
  void CopyTo(HDC target);

 private:
  HDC m_hDc;
  HBITMAP m_hBitmap;
  HGDIOBJ m_hPrevBitmap;
  Gdiplus::Graphics* m_surface;
  int m_width;
  int m_height;
};
