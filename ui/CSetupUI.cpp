#include "ui/CSetupUI.h"

#include <new>

#include "ui/CImageButton.h"
#include "ui/CImageCheckBox.h"

namespace {

CSetupUI* g_setupUI = nullptr;

void DestroyIfWindow(HWND* window) {
  if (*window && IsWindow(*window)) DestroyWindow(*window);
  *window = nullptr;
}

template <typename Handle>
void DeleteGdiObject(Handle* handle) {
  if (*handle) DeleteObject(*handle);
  *handle = nullptr;
}

}  // namespace

CSetupUI::CSetupUI()
    : m_labelOffsetY(0), m_hFont(nullptr), m_hHandCursor(nullptr), m_hEditFrameBrush(nullptr),
      m_prevMainWndProc(nullptr), m_gdiplusToken(0),
      m_imgBackground(nullptr), m_imgBackgroundCustom(nullptr), m_imgInstallButton(nullptr),
      m_imgInstallNowButton(nullptr), m_imgBackButton(nullptr), m_imgCloseButton(nullptr),
      m_imgMinimizeButton(nullptr), m_imgChangeDirButton(nullptr),
      m_imgCustomInstallButton(nullptr), m_imgRocket(nullptr), m_imgInstallingCaption(nullptr),
      m_imgDot(nullptr), m_imgDoneCaption(nullptr),
      m_captionX(0), m_captionY(0), m_showInstalling(FALSE), m_showDone(FALSE),
      m_showFailAdvice(FALSE), m_showFailFeedback(FALSE), m_customPage(FALSE),
      m_feedbackWidth(0), m_feedbackHeight(0),
      m_btnClose(nullptr), m_btnMinimize(nullptr), m_btnInstall(nullptr),
      m_btnInstallNow(nullptr), m_btnBack(nullptr), m_btnChangeDir(nullptr),
      m_btnCustomInstall(nullptr),
      m_chkLicense(nullptr), m_chkUserExperience(nullptr), m_chkDefaultBrowser(nullptr),
      m_chkDesktopShortcut(nullptr), m_chkTaskbar(nullptr), m_chkGamePortal(nullptr),
      m_hLicenseLabel(nullptr), m_hUserExperienceLabel(nullptr),
      m_hDefaultBrowserLabel(nullptr), m_hDesktopShortcutLabel(nullptr),
      m_hTaskbarLabel(nullptr), m_hGamePortalLabel(nullptr), m_hDirEdit(nullptr),
      m_prevEditWndProc(nullptr), m_hMainWnd(nullptr), m_dirOk(FALSE), m_hStatusText(nullptr),
      m_browserRunning(FALSE), m_hRunningWarning(nullptr) {}

CSetupUI* CSetupUI::GetInstance() {
  if (g_setupUI) return g_setupUI;
  CSetupUI* ui = new (std::nothrow) CSetupUI();
  if (!ui) return nullptr;
  // GDI+ version 1, its own background thread, external codecs allowed.  A
  // failed start-up is not fatal: every decode and draw then fails quietly.
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&ui->m_gdiplusToken, &input, nullptr);
  g_setupUI = ui;
  return ui;
}

void CSetupUI::DestroyInstance() {
  if (!g_setupUI) return;
  if (g_setupUI->m_gdiplusToken) Gdiplus::GdiplusShutdown(g_setupUI->m_gdiplusToken);
  delete g_setupUI;
  g_setupUI = nullptr;
}

void CSetupUI::CreateResources() {
  m_labelOffsetY = 2;
  m_hFont = CreateFontW(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, L"宋体");
  m_hEditFrameBrush = CreateSolidBrush(RGB(190, 207, 219));
  m_hHandCursor = LoadCursorW(nullptr, IDC_HAND);
}

void CSetupUI::Release() {
  if (m_prevMainWndProc) {
    if (m_hMainWnd && IsWindow(m_hMainWnd))
      SetWindowLongPtrW(m_hMainWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_prevMainWndProc));
    m_prevMainWndProc = nullptr;
  }
  DeleteGdiObject(&m_hFont);
  DeleteGdiObject(&m_hEditFrameBrush);
  m_hHandCursor = nullptr;  // a shared system cursor: forgotten, never destroyed

  Gdiplus::Image** images[] = {
      &m_imgBackground, &m_imgBackgroundCustom, &m_imgInstallButton, &m_imgInstallNowButton,
      &m_imgBackButton, &m_imgCloseButton, &m_imgMinimizeButton, &m_imgChangeDirButton,
      &m_imgCustomInstallButton, &m_imgRocket, &m_imgInstallingCaption, &m_imgDot,
      &m_imgDoneCaption};
  for (Gdiplus::Image** image : images) ReleaseSkinImage(image);

  CImageButton** buttons[] = {&m_btnClose, &m_btnMinimize, &m_btnInstall, &m_btnInstallNow,
                              &m_btnBack, &m_btnChangeDir, &m_btnCustomInstall};
  for (CImageButton** button : buttons) {
    if (!*button) continue;
    (*button)->Destroy();
    delete *button;
    *button = nullptr;
  }
  CImageCheckBox** boxes[] = {&m_chkLicense, &m_chkUserExperience, &m_chkDefaultBrowser,
                              &m_chkDesktopShortcut, &m_chkTaskbar, &m_chkGamePortal};
  for (CImageCheckBox** box : boxes) {
    if (!*box) continue;
    (*box)->Destroy();
    delete *box;
    *box = nullptr;
  }

  // Normally already gone with the main window.
  HWND* windows[] = {&m_hLicenseLabel, &m_hUserExperienceLabel, &m_hDefaultBrowserLabel,
                     &m_hDesktopShortcutLabel, &m_hTaskbarLabel, &m_hGamePortalLabel,
                     &m_hDirEdit, &m_hStatusText, &m_hRunningWarning};
  for (HWND* window : windows) DestroyIfWindow(window);
  m_prevEditWndProc = nullptr;
  m_hMainWnd = nullptr;
}
