// CSetupUI: the installer window's one process-wide object.  It holds the
// window's handles and page flags, the decoded skin images, the font, the
// hand cursor, the edit-frame brush, the image controls and the GDI+ token.
// Only the user-interface thread touches it.
#pragma once

#include "ui/SkinImage.h"

class CImageButton;
class CImageCheckBox;

// Skin image resource ids (type "PNG").  Sprites are vertical strips of
// equal frames, first frame at the top.
enum SkinImageId : UINT {
  IDP_BACKGROUND = 130,            // 600 x 400
  IDP_CLOSE_BUTTON = 131,          // 24 x 57, 3 frames
  IDP_CUSTOM_INSTALL_BUTTON = 132, // 96 x 66, 3 frames
  IDP_INSTALL_BUTTON = 134,        // 172 x 153, 3 frames
  IDP_MINIMIZE_BUTTON = 135,       // 24 x 57, 3 frames
  IDP_BACKGROUND_CUSTOM = 136,     // 600 x 464
  IDP_CHECKBOX = 139,              // 16 x 96, 6 frames
  IDP_CHANGE_DIR_BUTTON = 140,     // 117 x 99, 3 frames
  IDP_ROCKET = 145,                // 115 x 91
  IDP_INSTALLING_CAPTION = 147,    // 104 x 30
  IDP_DOT = 148,                   // 5 x 5
  IDP_DONE_CAPTION = 149,          // 104 x 30
  IDP_INSTALL_NOW_BUTTON = 150,    // 119 x 108, 3 frames
  IDP_BACK_BUTTON = 151,           // 74 x 108, 3 frames
};

class CSetupUI {
 public:
  // Get-or-create.  The first call allocates the object and starts GDI+;
  // null when the allocation fails (a later call tries again).
  static CSetupUI* GetInstance();
  // The shell's last step, after Release: shuts GDI+ down, frees the object
  // and clears the process-wide pointer, so the next GetInstance builds a
  // fresh one.
  static void DestroyInstance();

  // Sets the label offset and creates the font, the brush and the cursor.
  void CreateResources();
  // Puts the main window's procedure back and releases the font, the
  // brush, the images and the controls; destroys leftover child windows.
  void Release();

  int m_labelOffsetY;
  HFONT m_hFont;
  HCURSOR m_hHandCursor;
  HBRUSH m_hEditFrameBrush;
  WNDPROC m_prevMainWndProc;
  ULONG_PTR m_gdiplusToken;

  Gdiplus::Image* m_imgBackground;
  Gdiplus::Image* m_imgBackgroundCustom;
  Gdiplus::Image* m_imgInstallButton;
  Gdiplus::Image* m_imgInstallNowButton;
  Gdiplus::Image* m_imgBackButton;
  Gdiplus::Image* m_imgCloseButton;
  Gdiplus::Image* m_imgMinimizeButton;
  Gdiplus::Image* m_imgChangeDirButton;
  Gdiplus::Image* m_imgCustomInstallButton;
  Gdiplus::Image* m_imgRocket;
  Gdiplus::Image* m_imgInstallingCaption;
  Gdiplus::Image* m_imgDot;
  Gdiplus::Image* m_imgDoneCaption;

  int m_captionX;
  int m_captionY;
  BOOL m_showInstalling;
  BOOL m_showDone;
  BOOL m_showFailAdvice;
  BOOL m_showFailFeedback;
  BOOL m_customPage;
  int m_feedbackWidth;
  int m_feedbackHeight;

  CImageButton* m_btnClose;
  CImageButton* m_btnMinimize;
  CImageButton* m_btnInstall;
  CImageButton* m_btnInstallNow;
  CImageButton* m_btnBack;
  CImageButton* m_btnChangeDir;
  CImageButton* m_btnCustomInstall;

  CImageCheckBox* m_chkLicense;
  CImageCheckBox* m_chkUserExperience;
  CImageCheckBox* m_chkDefaultBrowser;
  CImageCheckBox* m_chkDesktopShortcut;
  CImageCheckBox* m_chkTaskbar;
  CImageCheckBox* m_chkGamePortal;

  HWND m_hLicenseLabel;
  HWND m_hUserExperienceLabel;
  HWND m_hDefaultBrowserLabel;
  HWND m_hDesktopShortcutLabel;
  HWND m_hTaskbarLabel;
  HWND m_hGamePortalLabel;
  HWND m_hDirEdit;
  WNDPROC m_prevEditWndProc;
  HWND m_hMainWnd;
  BOOL m_dirOk;
  HWND m_hStatusText;
  BOOL m_browserRunning;
  HWND m_hRunningWarning;

 private:
  CSetupUI();
  ~CSetupUI() = default;
  CSetupUI(const CSetupUI&) = delete;
  CSetupUI& operator=(const CSetupUI&) = delete;
};
