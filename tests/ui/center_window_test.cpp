// CenterWindow: centred on the work area or on a visible owner, clamped to
// the work area with the left and top edges winning.
#include "UiTestSupport.h"

#include <vector>

#include "ui/CenterWindow.h"

namespace {

class CenterWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &m_area, 0);
  }
  void TearDown() override {
    for (HWND w : m_windows) DestroyWindow(w);
  }
  HWND Popup(int x, int y, int w, int h, HWND owner = nullptr, DWORD style = 0) {
    HWND window = CreateTestPopup(x, y, w, h, owner, style);
    EXPECT_NE(nullptr, window);
    m_windows.insert(m_windows.begin(), window);  // owned windows go first
    return window;
  }
  static POINT TopLeft(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return {r.left, r.top};
  }

  RECT m_area = {};
  std::vector<HWND> m_windows;
};

TEST_F(CenterWindowTest, WithoutOwnerCentresInTheWorkArea) {
  HWND window = Popup(0, 0, 600, 400);
  CenterWindow(window);
  POINT p = TopLeft(window);
  EXPECT_EQ((m_area.left + m_area.right) / 2 - 300, p.x);
  EXPECT_EQ((m_area.top + m_area.bottom) / 2 - 200, p.y);
}

TEST_F(CenterWindowTest, LargerThanTheWorkAreaKeepsLeftAndTopEdges) {
  // Centred on the work area, and on a visible owner in its bottom-right
  // corner, whose centre would push the window past the right and bottom.
  const int w = m_area.right - m_area.left + 200, h = m_area.bottom - m_area.top + 100;
  HWND owner = Popup(m_area.right - 200, m_area.bottom - 200, 200, 200, nullptr, WS_VISIBLE);
  for (HWND ownerOrNone : {HWND(nullptr), owner}) {
    HWND window = Popup(50, 50, w, h, ownerOrNone);
    CenterWindow(window);
    POINT p = TopLeft(window);
    EXPECT_EQ(m_area.left, p.x) << (ownerOrNone ? "with owner" : "without owner");
    EXPECT_EQ(m_area.top, p.y) << (ownerOrNone ? "with owner" : "without owner");
  }
}

TEST_F(CenterWindowTest, VisibleOwnerIsTheCentreThenTheWorkAreaClamps) {
  // Owner near the right edge: centred on it, the window would stick out.
  HWND owner = Popup(m_area.right - 200, m_area.top + 100, 200, 200, nullptr, WS_VISIBLE);
  HWND window = Popup(0, 0, 300, 100, owner);
  CenterWindow(window);
  POINT p = TopLeft(window);
  EXPECT_EQ(m_area.right - 300, p.x);
  EXPECT_EQ(m_area.top + 100 + 100 - 50, p.y);
}

TEST_F(CenterWindowTest, HiddenOrMinimisedOwnerIsIgnored) {
  for (DWORD style : {DWORD(0), DWORD(WS_VISIBLE | WS_MINIMIZE)}) {
    HWND owner = Popup(m_area.left, m_area.top, 100, 100, nullptr, style);
    HWND window = Popup(0, 0, 200, 100, owner);
    CenterWindow(window);
    POINT p = TopLeft(window);
    EXPECT_EQ((m_area.left + m_area.right) / 2 - 100, p.x) << "owner style " << std::hex << style;
    EXPECT_EQ((m_area.top + m_area.bottom) / 2 - 50, p.y);
  }
}

}  // namespace
