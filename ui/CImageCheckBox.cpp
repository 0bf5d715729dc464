#include "ui/CImageCheckBox.h"

#include "ui/CSetupUI.h"
#include "ui/ImageControl.h"

namespace {

const int kBoxSize = 16;
const UINT kCheckBoxFrames = 6;

// The sprite holds the unchecked frames first: states 4-6 are frames 0-2,
// states 1-3 frames 3-5.
UINT FrameOfState(int state) { return state >= 4 ? (UINT)(state - 4) : (UINT)(state + 2); }

}  // namespace

CImageCheckBox::CImageCheckBox()
    : m_checked(0), m_state(4), m_hWnd(nullptr), m_prevWndProc(nullptr), m_hParent(nullptr),
      m_x(0), m_y(0), m_width(0), m_height(0), m_image(nullptr), m_tracking(FALSE) {}

BOOL CImageCheckBox::Create(HWND parent, int id, int x, int y) {
  if (!parent || !IsWindow(parent)) return FALSE;
  m_width = m_height = kBoxSize;
  m_hParent = parent;
  m_x = x;
  m_y = y;
  m_state = 4;
  m_checked = 0;
  HINSTANCE module = GetModuleHandleW(nullptr);
  if (!m_image) LoadSkinImage(module, IDP_CHECKBOX, &m_image);

  m_hWnd = CreateWindowExW(0, L"BUTTON", L"checkbox", kImageControlStyle, x, y, kBoxSize,
                           kBoxSize, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           module, nullptr);
  if (!m_hWnd) return FALSE;
  ShowWindow(m_hWnd, SW_SHOW);
  m_prevWndProc = AttachControl(m_hWnd, this, ImageCheckBoxProc);
  return TRUE;
}

void CImageCheckBox::Draw(HDC target, Gdiplus::Image* backdrop) {
  if (!target || !m_image || !backdrop) return;
  CPaintBuffer buffer(target, m_width, m_height);
  if (!buffer.Ok()) return;
  ComposeSpriteOverBackdrop(buffer, backdrop, m_x, m_y, m_width, m_height, m_image,
                            FrameOfState(m_state), ImageHeight(m_image) / kCheckBoxFrames);
  buffer.CopyTo(target);
}

void CImageCheckBox::Destroy() {
  m_checked = 0;
  m_state = 4;
  m_tracking = FALSE;
  m_hParent = nullptr;
  m_x = m_y = m_width = m_height = 0;
  ReleaseSkinImage(&m_image);
  DetachAndDestroyControl(&m_hWnd, &m_prevWndProc);
}

LRESULT CALLBACK ImageCheckBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CImageCheckBox* box = reinterpret_cast<CImageCheckBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!box || !box->m_prevWndProc) return DefWindowProcW(window, message, wParam, lParam);

  // The check value is the object's own: the class procedure never sees it.
  if (message == BM_GETCHECK) return box->m_checked;
  if (message == BM_SETCHECK) {
    box->m_checked = (int)wParam;
    box->m_state = wParam ? 1 : 4;
    InvalidateRect(window, nullptr, FALSE);
    return 0;
  }

  const bool checked = box->m_checked != 0;
  bool repaint = true;
  switch (message) {
    case WM_MOUSEMOVE:
      if (!box->m_tracking && RequestHoverAndLeave(window)) box->m_tracking = TRUE;
      box->m_state = checked ? 2 : 5;
      repaint = false;
      break;
    case WM_LBUTTONDOWN:
      box->m_tracking = TRUE;
      box->m_state = checked ? 3 : 6;
      break;
    case WM_LBUTTONUP:
      box->m_tracking = TRUE;
      box->m_state = checked ? 1 : 4;
      break;
    case WM_MOUSEHOVER:
      box->m_tracking = FALSE;
      box->m_state = checked ? 2 : 5;
      break;
    case WM_MOUSELEAVE:
      box->m_tracking = FALSE;
      box->m_state = checked ? 1 : 4;
      break;
    default:
      repaint = false;
      break;
  }
  if (repaint) InvalidateRect(window, nullptr, FALSE);
  return CallWindowProcW(box->m_prevWndProc, window, message, wParam, lParam);
}
