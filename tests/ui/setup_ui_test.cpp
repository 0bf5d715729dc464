// CSetupUI: get-or-create, resources, and the teardown that leaves nothing.
#include "UiTestSupport.h"
#include "ui/CImageButton.h"
#include "ui/CImageCheckBox.h"
#include "ui/CSetupUI.h"

namespace {

LRESULT CALLBACK PlainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(w, m, wp, lp);
}
LRESULT CALLBACK ReplacementProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(w, m, wp, lp);
}

HWND CreatePlainWindow() {
  WNDCLASSW cls = {};
  cls.lpfnWndProc = PlainProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"NuvraSetupUiTest";
  RegisterClassW(&cls);
  return CreateWindowExW(0, cls.lpszClassName, L"", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr,
                         cls.hInstance, nullptr);
}

HWND CreateStatic(HWND parent) {
  return CreateWindowExW(WS_EX_TRANSPARENT, L"Static", L"label", WS_CHILD | WS_VISIBLE, 0, 0, 120,
                         20, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

TEST(CSetupUI, GetInstanceReturnsOneObjectUntilDestroyed) {
  CSetupUI* ui = CSetupUI::GetInstance();
  ASSERT_NE(nullptr, ui);
  EXPECT_EQ(ui, CSetupUI::GetInstance());
  EXPECT_NE(0u, ui->m_gdiplusToken);
  ui->m_captionX = 248;
  ui->m_customPage = TRUE;

  ui->Release();
  CSetupUI::DestroyInstance();
  CSetupUI* fresh = CSetupUI::GetInstance();
  ASSERT_NE(nullptr, fresh);
  EXPECT_EQ(0, fresh->m_captionX);
  EXPECT_FALSE(fresh->m_customPage);
  EXPECT_EQ(nullptr, fresh->m_hFont);
  fresh->Release();
  CSetupUI::DestroyInstance();
}

TEST(CSetupUI, CreateResourcesMakesFontBrushAndCursor) {
  CSetupUI* ui = CSetupUI::GetInstance();
  ui->CreateResources();
  EXPECT_EQ(2, ui->m_labelOffsetY);
  EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), ui->m_hHandCursor);

  LOGFONTW font = {};
  ASSERT_TRUE(GetObjectW(ui->m_hFont, sizeof(font), &font));
  EXPECT_EQ(12, font.lfHeight);
  EXPECT_EQ(FW_NORMAL, font.lfWeight);
  EXPECT_EQ(DEFAULT_CHARSET, font.lfCharSet);
  EXPECT_EQ(PROOF_QUALITY, font.lfQuality);
  EXPECT_STREQ(L"宋体", font.lfFaceName);

  LOGBRUSH brush = {};
  ASSERT_TRUE(GetObjectW(ui->m_hEditFrameBrush, sizeof(brush), &brush));
  EXPECT_EQ(static_cast<UINT>(BS_SOLID), brush.lbStyle);
  EXPECT_EQ(RGB(190, 207, 219), brush.lbColor);
  ui->Release();
  CSetupUI::DestroyInstance();
}

TEST(CSetupUI, ReleaseClearsEveryFieldAndDeletesEachResourceOnce) {
  CSetupUI* ui = CSetupUI::GetInstance();
  ui->CreateResources();
  HWND main = CreatePlainWindow();
  ASSERT_NE(nullptr, main);
  ui->m_hMainWnd = main;
  ui->m_prevMainWndProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReplacementProc)));

  HINSTANCE module = GetModuleHandleW(nullptr);
  Gdiplus::Image** images[] = {
      &ui->m_imgBackground, &ui->m_imgBackgroundCustom, &ui->m_imgInstallButton,
      &ui->m_imgInstallNowButton, &ui->m_imgBackButton, &ui->m_imgCloseButton,
      &ui->m_imgMinimizeButton, &ui->m_imgChangeDirButton, &ui->m_imgCustomInstallButton,
      &ui->m_imgRocket, &ui->m_imgInstallingCaption, &ui->m_imgDot, &ui->m_imgDoneCaption};
  const UINT ids[] = {130, 136, 134, 150, 151, 131, 135, 140, 132, 145, 147, 148, 149};
  for (int i = 0; i < 13; ++i) ASSERT_TRUE(LoadSkinImage(module, ids[i], images[i]));

  CImageButton** buttons[] = {&ui->m_btnClose, &ui->m_btnMinimize, &ui->m_btnInstall,
                              &ui->m_btnInstallNow, &ui->m_btnBack, &ui->m_btnChangeDir,
                              &ui->m_btnCustomInstall};
  HWND buttonWindows[7];
  for (int i = 0; i < 7; ++i) {
    *buttons[i] = new CImageButton();
    ASSERT_TRUE((*buttons[i])->Create(ui->m_imgCloseButton, main, 929 + i, 0, 0, 24, 19));
    buttonWindows[i] = (*buttons[i])->m_hWnd;
  }
  CImageCheckBox** boxes[] = {&ui->m_chkLicense, &ui->m_chkUserExperience,
                              &ui->m_chkDefaultBrowser, &ui->m_chkDesktopShortcut,
                              &ui->m_chkTaskbar, &ui->m_chkGamePortal};
  for (int i = 0; i < 6; ++i) {
    *boxes[i] = new CImageCheckBox();
    ASSERT_TRUE((*boxes[i])->Create(main, 945 + i, 20 * i, 30));
  }
  HWND* windows[] = {&ui->m_hLicenseLabel, &ui->m_hUserExperienceLabel,
                     &ui->m_hDefaultBrowserLabel, &ui->m_hDesktopShortcutLabel,
                     &ui->m_hTaskbarLabel, &ui->m_hGamePortalLabel, &ui->m_hDirEdit,
                     &ui->m_hStatusText, &ui->m_hRunningWarning};
  HWND created[9];
  for (int i = 0; i < 9; ++i) created[i] = *windows[i] = CreateStatic(main);
  HFONT font = ui->m_hFont;
  HBRUSH brush = ui->m_hEditFrameBrush;

  ui->Release();

  EXPECT_EQ(reinterpret_cast<LONG_PTR>(PlainProc), GetWindowLongPtrW(main, GWLP_WNDPROC));
  EXPECT_EQ(nullptr, ui->m_prevMainWndProc);
  EXPECT_EQ(0u, GetObjectType(font));
  EXPECT_EQ(0u, GetObjectType(brush));
  EXPECT_EQ(nullptr, ui->m_hFont);
  EXPECT_EQ(nullptr, ui->m_hEditFrameBrush);
  EXPECT_EQ(nullptr, ui->m_hHandCursor);
  for (Gdiplus::Image** image : images) EXPECT_EQ(nullptr, *image);
  for (CImageButton** button : buttons) EXPECT_EQ(nullptr, *button);
  for (CImageCheckBox** box : boxes) EXPECT_EQ(nullptr, *box);
  for (HWND* window : windows) EXPECT_EQ(nullptr, *window);
  for (HWND window : created) EXPECT_FALSE(IsWindow(window));
  for (HWND window : buttonWindows) EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(nullptr, ui->m_hMainWnd);

  // A second teardown finds nothing left to delete.
  ui->Release();
  DestroyWindow(main);
  CSetupUI::DestroyInstance();
}

TEST(CSetupUI, ReleaseAfterTheMainWindowIsGone) {
  // The usual order: the main window (and its children) went first.
  CSetupUI* ui = CSetupUI::GetInstance();
  ui->CreateResources();
  HWND main = CreatePlainWindow();
  ui->m_hMainWnd = main;
  ui->m_btnClose = new CImageButton();
  Gdiplus::Image* sprite = nullptr;
  ASSERT_TRUE(LoadSkinImage(GetModuleHandleW(nullptr), 131, &sprite));
  ui->m_imgCloseButton = sprite;
  ASSERT_TRUE(ui->m_btnClose->Create(sprite, main, 930, 576, 0, 24, 19));
  ui->m_chkLicense = new CImageCheckBox();
  ASSERT_TRUE(ui->m_chkLicense->Create(main, 949, 15, 368));
  ui->m_hLicenseLabel = CreateStatic(main);
  DestroyWindow(main);

  ui->Release();
  EXPECT_EQ(nullptr, ui->m_btnClose);
  EXPECT_EQ(nullptr, ui->m_chkLicense);
  EXPECT_EQ(nullptr, ui->m_hLicenseLabel);
  EXPECT_EQ(nullptr, ui->m_imgCloseButton);
  CSetupUI::DestroyInstance();
}

}  // namespace
