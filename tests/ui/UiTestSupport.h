// Test support for the ui tests: GDI+ started for the whole run, a 32-bit
// memory canvas whose pixels can be read back, and small in-memory bitmaps.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>

#include "ui/SkinImage.h"

// Starts GDI+ once for the test program (independent of CSetupUI's own
// start-up, which some tests create and tear down).
class GdiplusEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&m_token, &input, nullptr));
  }
  void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }

 private:
  ULONG_PTR m_token = 0;
};

// A top-down 32-bit DIB selected into a memory device context.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill) : m_width(width), m_height(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    m_dc = CreateCompatibleDC(nullptr);
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits),
                                nullptr, 0);
    m_prev = SelectObject(m_dc, m_bitmap);
    Fill(fill);
  }
  ~Canvas() {
    SelectObject(m_dc, m_prev);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC Dc() const { return m_dc; }
  void Fill(COLORREF colour) {
    GdiFlush();
    const uint32_t pixel = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (int i = 0; i < m_width * m_height; ++i) m_bits[i] = pixel;
  }
  COLORREF At(int x, int y) const {
    GdiFlush();
    const uint32_t p = m_bits[y * m_width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // True when every pixel of [x0, x1) x [y0, y1) is `colour`.
  bool AllAre(int x0, int y0, int x1, int y1, COLORREF colour) const {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        if (At(x, y) != colour) return false;
    return true;
  }

 private:
  int m_width, m_height;
  HDC m_dc = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_prev = nullptr;
  uint32_t* m_bits = nullptr;
};

// A top-level pop-up of a plain test class (default window procedure).
inline HWND CreateTestPopup(int x, int y, int width, int height, HWND owner = nullptr,
                            DWORD style = 0) {
  static ATOM cls = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"NuvraUiTestPopup";
    return RegisterClassW(&wc);
  }();
  return CreateWindowExW(0, MAKEINTATOM(cls), L"", WS_POPUP | style, x, y, width, height, owner,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

inline Gdiplus::ARGB Argb(BYTE a, COLORREF c) {
  return Gdiplus::Color::MakeARGB(a, GetRValue(c), GetGValue(c), GetBValue(c));
}

// A vertical strip of solid frames, one ARGB colour per frame.
inline Gdiplus::Bitmap* SolidStrip(int width, int frameHeight,
                                   std::initializer_list<Gdiplus::ARGB> frames) {
  Gdiplus::Bitmap* bitmap = NewGdiplusObject<Gdiplus::Bitmap>(
      width, frameHeight * (int)frames.size(), PixelFormat32bppARGB);
  int y = 0;
  for (Gdiplus::ARGB colour : frames) {
    for (int row = 0; row < frameHeight; ++row, ++y)
      for (int x = 0; x < width; ++x) bitmap->SetPixel(x, y, Gdiplus::Color(colour));
  }
  return bitmap;
}

// Near-equality for blended colours (rounding differs between renderers).
inline bool Near(COLORREF a, COLORREF b, int tolerance = 3) {
  return abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}
