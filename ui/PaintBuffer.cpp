#include "ui/PaintBuffer.h"

CPaintBuffer::CPaintBuffer(HDC target, int width, int height)
    : m_hDc(nullptr), m_hBitmap(nullptr), m_hPrevBitmap(nullptr), m_surface(nullptr),
      m_width(width), m_height(height) {
  if (!target || width <= 0 || height <= 0) return;
  m_hDc = CreateCompatibleDC(target);
  if (!m_hDc) return;
  m_hBitmap = CreateCompatibleBitmap(target, width, height);
  if (!m_hBitmap) return;
  m_hPrevBitmap = SelectObject(m_hDc, m_hBitmap);
  m_surface = NewGdiplusObject<Gdiplus::Graphics>(m_hDc);
  if (m_surface && m_surface->GetLastStatus() != Gdiplus::Ok) {
    delete m_surface;
    m_surface = nullptr;
  }
}

CPaintBuffer::~CPaintBuffer() {
  // The surface goes first: it must not outlive the context it draws on.
  delete m_surface;
  if (m_hPrevBitmap) SelectObject(m_hDc, m_hPrevBitmap);
  if (m_hBitmap) DeleteObject(m_hBitmap);
  if (m_hDc) DeleteDC(m_hDc);
}

void CPaintBuffer::CopyTo(HDC target) {
  if (!Ok()) return;
  m_surface->Flush(Gdiplus::FlushIntentionSync);
  BitBlt(target, 0, 0, m_width, m_height, m_hDc, 0, 0, SRCCOPY);
}
