// CImageButton and CImageCheckBox: state changes from mouse and check
// messages, and what each state paints over the backdrop.
#include <algorithm>
#include <vector>

#include "UiTestSupport.h"
#include "ui/CImageButton.h"
#include "ui/CImageCheckBox.h"
#include "ui/CSetupUI.h"

namespace {

::testing::Environment* const g_gdiplus =
    ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

const COLORREF kBackdrop = RGB(90, 140, 200);
const COLORREF kFrame0 = RGB(255, 0, 0), kFrame1 = RGB(0, 255, 0), kFrame2 = RGB(0, 0, 255);
const int kX = 30, kY = 40, kW = 20, kH = 10;

class ImageControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_parent = CreateTestPopup(0, 0, 300, 200);
    ASSERT_NE(nullptr, m_parent);
    m_backdrop = SolidStrip(300, 200, {Argb(255, kBackdrop)});
  }
  void TearDown() override {
    DestroyWindow(m_parent);
    delete m_backdrop;
  }

  HWND m_parent = nullptr;
  Gdiplus::Image* m_backdrop = nullptr;
};

// Records what reaches the "BUTTON" class procedure behind a control.
std::vector<UINT> g_seenByClass;
WNDPROC g_classProc = nullptr;
LRESULT CALLBACK SpyProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  g_seenByClass.push_back(m);
  return CallWindowProcW(g_classProc, w, m, wp, lp);
}

bool ClassSaw(UINT message) {
  return std::find(g_seenByClass.begin(), g_seenByClass.end(), message) != g_seenByClass.end();
}

// ------------------------------------------------------------ button ---

class ImageButtonTest : public ImageControlTest {
 protected:
  void SetUp() override {
    ImageControlTest::SetUp();
    m_sprite = SolidStrip(kW, kH, {Argb(255, kFrame0), Argb(255, kFrame1), Argb(255, kFrame2)});
    ASSERT_TRUE(m_button.Create(m_sprite, m_parent, 931, kX, kY, kW, kH));
  }
  void TearDown() override {
    m_button.Destroy();
    delete m_sprite;
    ImageControlTest::TearDown();
  }
  // The single colour the button paints now.
  COLORREF Painted() {
    Canvas canvas(kW, kH, RGB(1, 2, 3));
    m_button.Draw(canvas.Dc(), m_backdrop);
    COLORREF colour = canvas.At(0, 0);
    EXPECT_TRUE(canvas.AllAre(0, 0, kW, kH, colour));
    return colour;
  }
  LRESULT Send(UINT message) {
    return SendMessageW(m_button.m_hWnd, message, 0, MAKELPARAM(5, 5));
  }

  Gdiplus::Image* m_sprite = nullptr;
  CImageButton m_button;
};

TEST_F(ImageButtonTest, CreateAttachesAnOwnerDrawnButton) {
  HWND window = m_button.m_hWnd;
  EXPECT_EQ(0x5001000B, GetWindowLongW(window, GWL_STYLE));
  EXPECT_EQ(931, GetDlgCtrlID(window));
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(&m_button), GetWindowLongPtrW(window, GWLP_USERDATA));
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(ImageButtonProc), GetWindowLongPtrW(window, GWLP_WNDPROC));
  EXPECT_EQ(3u, m_button.m_frameCount);
  EXPECT_EQ(1, m_button.m_state);
  EXPECT_EQ(kFrame0, Painted());
}

TEST_F(ImageButtonTest, CreateRefusesMissingSpriteOrParent) {
  CImageButton noSprite, noParent;
  EXPECT_FALSE(noSprite.Create(nullptr, m_parent, 1, 0, 0, 10, 10));
  EXPECT_FALSE(noParent.Create(m_sprite, reinterpret_cast<HWND>(0x1234), 1, 0, 0, 10, 10));
  EXPECT_EQ(nullptr, noSprite.m_hWnd);
  EXPECT_EQ(nullptr, noParent.m_image);
  noSprite.Destroy();  // safe on an object that was never attached
  EXPECT_EQ(nullptr, noSprite.m_hWnd);
}

TEST_F(ImageButtonTest, PressShowsPressedFrameAndReleaseNormalAtOnce) {
  Send(WM_MOUSEMOVE);
  EXPECT_EQ(kFrame1, Painted());
  Send(WM_LBUTTONDOWN);
  EXPECT_EQ(3, m_button.m_state);
  EXPECT_EQ(kFrame2, Painted());
  // Released with the pointer still on the button: normal, not hover.
  Send(WM_LBUTTONUP);
  EXPECT_EQ(1, m_button.m_state);
  EXPECT_EQ(kFrame0, Painted());
}

TEST_F(ImageButtonTest, DisabledButtonShowsOnlyItsBackdrop) {
  m_button.m_enabled = FALSE;
  EnableWindow(m_button.m_hWnd, FALSE);
  m_button.m_state = 4;
  EXPECT_EQ(kBackdrop, Painted());

  m_button.m_enabled = TRUE;
  EnableWindow(m_button.m_hWnd, TRUE);
  m_button.m_state = 1;
  EXPECT_EQ(kFrame0, Painted());
}

TEST_F(ImageButtonTest, MouseMessagesMoveTrackingAlwaysAndStateOnlyWhileEnabled) {
  struct Step {
    UINT message;
    BOOL tracking;
    int enabledState;
  };
  const Step steps[] = {
      {WM_MOUSEMOVE, TRUE, 2},  {WM_MOUSEHOVER, FALSE, 2}, {WM_LBUTTONDOWN, TRUE, 3},
      {WM_LBUTTONUP, TRUE, 1},  {WM_MOUSELEAVE, FALSE, 1}, {WM_MOUSEMOVE, TRUE, 2},
  };
  for (BOOL enabled : {TRUE, FALSE}) {
    m_button.m_enabled = enabled;
    m_button.m_state = enabled ? 1 : 4;
    m_button.m_tracking = FALSE;
    for (const Step& step : steps) {
      Send(step.message);
      SCOPED_TRACE(testing::Message() << "enabled " << enabled << ", message 0x" << std::hex
                                      << step.message);
      EXPECT_EQ(step.tracking, m_button.m_tracking);
      EXPECT_EQ(enabled ? step.enabledState : 4, m_button.m_state);
    }
  }
}

TEST_F(ImageButtonTest, EveryMessageGoesOnToTheClassProcedure) {
  // The class procedure makes the click notification and the paint
  // requests from these, so none may be swallowed, enabled or not.
  g_classProc = m_button.m_prevWndProc;
  m_button.m_prevWndProc = SpyProc;
  for (BOOL enabled : {TRUE, FALSE}) {
    m_button.m_enabled = enabled;
    for (UINT message :
         {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEHOVER, WM_MOUSELEAVE}) {
      g_seenByClass.clear();
      Send(message);
      EXPECT_TRUE(ClassSaw(message)) << "enabled " << enabled << ", message 0x" << std::hex
                                     << message;
    }
  }
  // And its answer comes back unchanged.
  const LRESULT classAnswer = CallWindowProcW(g_classProc, m_button.m_hWnd, WM_GETDLGCODE, 0, 0);
  EXPECT_NE(0, classAnswer);
  EXPECT_EQ(classAnswer, Send(WM_GETDLGCODE));
  m_button.m_prevWndProc = g_classProc;
}

TEST_F(ImageButtonTest, StateChangesRepaintWithoutErasing) {
  // On screen, so that invalidation leaves an update region.
  ShowWindow(m_parent, SW_SHOWNA);
  g_classProc = m_button.m_prevWndProc;
  m_button.m_prevWndProc = SpyProc;
  struct Row {
    UINT message;
    bool repaint;
  };
  const Row rows[] = {{WM_MOUSEMOVE, false}, {WM_MOUSEHOVER, true}, {WM_LBUTTONDOWN, true},
                      {WM_LBUTTONUP, true},  {WM_MOUSELEAVE, true}};
  for (const Row& row : rows) {
    RedrawWindow(m_parent, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ValidateRect(m_button.m_hWnd, nullptr);
    Send(row.message);
    g_seenByClass.clear();
    UpdateWindow(m_button.m_hWnd);
    SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << row.message);
    EXPECT_EQ(row.repaint, ClassSaw(WM_PAINT));
    EXPECT_FALSE(ClassSaw(WM_ERASEBKGND));
  }
  m_button.m_prevWndProc = g_classProc;
}

TEST_F(ImageButtonTest, CaptionIsDrawnInTheStateColour) {
  m_button.m_text = L"OK";
  m_button.m_textColor[0] = RGB(255, 255, 0);
  Canvas canvas(kW, kH, RGB(1, 2, 3));
  m_button.Draw(canvas.Dc(), m_backdrop);
  bool sawText = false;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) sawText |= canvas.At(x, y) != kFrame0;
  EXPECT_TRUE(sawText);
}

TEST_F(ImageButtonTest, DestroyRestoresClassProcedureAndRemovesWindow) {
  HWND window = m_button.m_hWnd;
  m_button.Destroy();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(nullptr, m_button.m_hWnd);
  EXPECT_EQ(nullptr, m_button.m_prevWndProc);
  EXPECT_FALSE(m_button.m_enabled);
  EXPECT_EQ(m_sprite, m_button.m_image);  // borrowed, not released
}

// --------------------------------------------------------- check box ---

class ImageCheckBoxTest : public ImageControlTest {
 protected:
  void SetUp() override {
    ImageControlTest::SetUp();
    ASSERT_TRUE(m_box.Create(m_parent, 949, kX, kY));
    ASSERT_NE(nullptr, m_box.m_image);
    g_seenByClass.clear();
    g_classProc = m_box.m_prevWndProc;
    m_box.m_prevWndProc = SpyProc;
  }
  void TearDown() override {
    m_box.m_prevWndProc = g_classProc;
    m_box.Destroy();
    ImageControlTest::TearDown();
  }
  LRESULT Send(UINT message, WPARAM wParam = 0) {
    return SendMessageW(m_box.m_hWnd, message, wParam, MAKELPARAM(5, 5));
  }
  // True when the box paints exactly sprite frame `frame` over the backdrop.
  bool PaintsFrame(int frame) {
    Canvas painted(16, 16, RGB(1, 2, 3)), expected(16, 16, RGB(1, 2, 3));
    m_box.Draw(painted.Dc(), m_backdrop);
    {
      Gdiplus::Graphics surface(expected.Dc());
      DrawImagePart(&surface, m_backdrop, 0, 0, 16, 16, kX, kY, 16, 16);
      DrawImagePart(&surface, m_box.m_image, 0, 0, 16, 16, 0, frame * 16, 16, 16);
    }
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        if (painted.At(x, y) != expected.At(x, y)) return false;
    return true;
  }

  CImageCheckBox m_box;
};

TEST_F(ImageCheckBoxTest, CreateMakesA16PixelBoxWithItsOwnSprite) {
  EXPECT_EQ(16, m_box.m_width);
  EXPECT_EQ(16, m_box.m_height);
  EXPECT_EQ(4, m_box.m_state);
  EXPECT_EQ(0x5001000B, GetWindowLongW(m_box.m_hWnd, GWL_STYLE));
  wchar_t text[16] = {};
  GetWindowTextW(m_box.m_hWnd, text, 16);
  EXPECT_STREQ(L"checkbox", text);
  EXPECT_EQ(16u, ImageWidth(m_box.m_image));
  EXPECT_EQ(96u, ImageHeight(m_box.m_image));
  CImageCheckBox orphan;
  EXPECT_FALSE(orphan.Create(nullptr, 1, 0, 0));
  EXPECT_EQ(nullptr, orphan.m_image);
}

TEST_F(ImageCheckBoxTest, CheckValueIsKeptExactlyAndNeverReachesTheClass) {
  EXPECT_EQ(0, Send(BM_GETCHECK));
  EXPECT_EQ(0, Send(BM_SETCHECK, 2));
  EXPECT_EQ(2, Send(BM_GETCHECK));
  EXPECT_EQ(1, m_box.m_state);
  EXPECT_TRUE(PaintsFrame(3));
  Send(BM_SETCHECK, 0);
  EXPECT_EQ(0, Send(BM_GETCHECK));
  EXPECT_TRUE(PaintsFrame(0));
  for (UINT message : g_seenByClass) {
    EXPECT_NE(static_cast<UINT>(BM_GETCHECK), message);
    EXPECT_NE(static_cast<UINT>(BM_SETCHECK), message);
  }
  // Mouse messages do go on to the class procedure.
  Send(WM_MOUSELEAVE);
  ASSERT_FALSE(g_seenByClass.empty());
  EXPECT_EQ(static_cast<UINT>(WM_MOUSELEAVE), g_seenByClass.back());
}

TEST_F(ImageCheckBoxTest, MouseMessagesFollowTheStateTable) {
  struct Row {
    UINT message;
    int uncheckedState, checkedState;
    BOOL tracking;
  };
  const Row rows[] = {
      {WM_MOUSEMOVE, 5, 2, TRUE},   {WM_MOUSEHOVER, 5, 2, FALSE}, {WM_LBUTTONDOWN, 6, 3, TRUE},
      {WM_LBUTTONUP, 4, 1, TRUE},   {WM_MOUSELEAVE, 4, 1, FALSE},
  };
  for (int checked : {0, 1}) {
    Send(BM_SETCHECK, checked);
    m_box.m_tracking = FALSE;
    for (const Row& row : rows) {
      g_seenByClass.clear();
      Send(row.message);
      SCOPED_TRACE(testing::Message() << "checked " << checked << ", message 0x" << std::hex
                                      << row.message);
      EXPECT_EQ(checked ? row.checkedState : row.uncheckedState, m_box.m_state);
      EXPECT_EQ(row.tracking, m_box.m_tracking);
      EXPECT_TRUE(ClassSaw(row.message));
    }
  }
  // Checking while hovered shows checked normal; hover returns with the
  // next hover notification.
  Send(BM_SETCHECK, 0);
  Send(WM_MOUSEHOVER);
  Send(BM_SETCHECK, 1);
  EXPECT_EQ(1, m_box.m_state);
  Send(WM_MOUSEHOVER);
  EXPECT_EQ(2, m_box.m_state);
}

TEST_F(ImageCheckBoxTest, EachStatePaintsItsFrame) {
  const int frameOfState[] = {0, 3, 4, 5, 0, 1, 2};  // index = state
  for (int state = 1; state <= 6; ++state) {
    m_box.m_state = state;
    EXPECT_TRUE(PaintsFrame(frameOfState[state])) << "state " << state;
  }
}

TEST_F(ImageCheckBoxTest, DestroyReleasesTheSpriteAndTheWindow) {
  HWND window = m_box.m_hWnd;
  m_box.m_prevWndProc = g_classProc;
  m_box.Destroy();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(nullptr, m_box.m_image);
  EXPECT_EQ(nullptr, m_box.m_hWnd);
  EXPECT_EQ(4, m_box.m_state);
}

TEST(ImageControlProcs, WindowWithoutObjectGetsDefaultHandling) {
  HWND window = CreateWindowExW(0, L"BUTTON", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(nullptr, window);
  for (WNDPROC proc : {ImageButtonProc, ImageCheckBoxProc}) {
    EXPECT_EQ(DefWindowProcW(window, WM_GETTEXTLENGTH, 0, 0),
              proc(window, WM_GETTEXTLENGTH, 0, 0));
    EXPECT_EQ(0, proc(window, BM_GETCHECK, 0, 0));
  }
  DestroyWindow(window);
}

}  // namespace
