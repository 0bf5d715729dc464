#include "ui/CImageButton.h"

#include "ui/CSetupUI.h"
#include "ui/ImageControl.h"

CImageButton::CImageButton()
    : m_enabled(TRUE), m_state(1), m_hWnd(nullptr), m_prevWndProc(nullptr), m_hParent(nullptr),
      m_x(0), m_y(0), m_width(0), m_height(0), m_image(nullptr), m_tracking(FALSE), m_id(0),
      m_textColor{RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                  RGB(153, 153, 153)},
      m_frameCount(4) {}

BOOL CImageButton::Create(Gdiplus::Image* sprite, HWND parent, int id, int x, int y, int width,
                          int height) {
  if (!parent || !IsWindow(parent) || !sprite) return FALSE;
  m_x = x;
  m_y = y;
  m_width = width;
  m_height = height;
  m_image = sprite;
  m_hParent = parent;
  m_frameCount = 3;
  m_state = 1;
  m_enabled = TRUE;
  m_id = id;
  m_text.clear();

  m_hWnd = CreateWindowExW(0, L"BUTTON", L"", kImageControlStyle, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  if (!m_hWnd) return FALSE;
  m_prevWndProc = AttachControl(m_hWnd, this, ImageButtonProc);
  return TRUE;
}

void CImageButton::Draw(HDC target, Gdiplus::Image* backdrop) {
  if (!target || !m_image || !backdrop) return;
  CPaintBuffer buffer(target, m_width, m_height);
  if (!buffer.Ok()) return;
  // States 1-4 select frames 0-3; a three-frame strip has no frame 3, so a
  // disabled button shows its backdrop only.
  const UINT frameHeight = m_frameCount ? ImageHeight(m_image) / m_frameCount : 0;
  const UINT frame = m_state >= 1 && m_state <= 4 ? (UINT)(m_state - 1) : 0;
  ComposeSpriteOverBackdrop(buffer, backdrop, m_x, m_y, m_width, m_height, m_image, frame,
                            frameHeight);

  if (!m_text.empty()) {
    CSetupUI* ui = CSetupUI::GetInstance();
    HGDIOBJ prevFont = ui && ui->m_hFont ? SelectObject(buffer.Dc(), ui->m_hFont) : nullptr;
    buffer.Surface()->Flush(Gdiplus::FlushIntentionSync);
    SetBkMode(buffer.Dc(), TRANSPARENT);
    SetTextColor(buffer.Dc(), m_textColor[frame]);
    RECT client = {};
    GetClientRect(m_hWnd, &client);
    DrawTextW(buffer.Dc(), m_text.c_str(), -1, &client, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    if (prevFont) SelectObject(buffer.Dc(), prevFont);
  }
  buffer.CopyTo(target);
}

void CImageButton::Destroy() {
  m_enabled = FALSE;
  m_state = 1;
  m_tracking = FALSE;
  m_id = 0;
  m_hParent = nullptr;
  m_x = m_y = m_width = m_height = 0;
  DetachAndDestroyControl(&m_hWnd, &m_prevWndProc);
}

LRESULT CALLBACK ImageButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CImageButton* button = reinterpret_cast<CImageButton*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!button || !button->m_prevWndProc) return DefWindowProcW(window, message, wParam, lParam);

  int state = 0;       // new state while enabled; 0 keeps it
  bool repaint = true;
  switch (message) {
    case WM_MOUSEMOVE:
      if (!button->m_tracking && RequestHoverAndLeave(window)) button->m_tracking = TRUE;
      state = 2;
      repaint = false;
      break;
    case WM_LBUTTONDOWN:
      button->m_tracking = TRUE;
      state = 3;
      break;
    case WM_LBUTTONUP:
      button->m_tracking = TRUE;
      state = 1;
      break;
    case WM_MOUSEHOVER:
      button->m_tracking = FALSE;
      state = 2;
      break;
    case WM_MOUSELEAVE:
      button->m_tracking = FALSE;
      state = 1;
      break;
    default:
      repaint = false;
      break;
  }
  if (state && button->m_enabled) button->m_state = state;
  if (repaint) InvalidateRect(window, nullptr, FALSE);
  return CallWindowProcW(button->m_prevWndProc, window, message, wParam, lParam);
}
