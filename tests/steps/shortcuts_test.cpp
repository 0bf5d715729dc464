// Steps 4 to 7 against the current user's real shell folders: where the
// links land, what they point to, what replaces what, and how a failed
// uninstall link fails step 4.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "engine/CSetupLogic.h"
#include "engine/CreateShortcut.h"
#include "engine/ShellLaunch.h"
#include "tests/steps/StepTestSupport.h"

using namespace steptest;

namespace {

// The bytes of the fixture resource 152 (portal_fixture.url).
const char kPortalFixture[] =
    "[DEFAULT]\r\nBASEURL=http://portal.invalid/\r\n[InternetShortcut]\r\n"
    "URL=http://portal.invalid/?type=2\r\nHotKey=0\r\n";

// The shell refuses every pin: steps must not depend on it.  Wine would
// otherwise run an unknown verb as "open" and start the link's target.
HINSTANCE WINAPI RefusePin(HWND, const wchar_t*, const wchar_t*, const wchar_t*,
                           const wchar_t*, int) {
  return reinterpret_cast<HINSTANCE>(SE_ERR_NOASSOC);
}

struct LinkInfo {
  bool loaded = false;
  std::wstring target;
  std::wstring description;
};

LinkInfo ReadLink(const std::wstring& path) {
  LinkInfo info;
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return info;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
      wchar_t text[MAX_PATH] = {};
      info.loaded = SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH));
      info.target = text;
      text[0] = L'\0';
      link->GetDescription(text, MAX_PATH);
      info.description = text;
    }
    file->Release();
  }
  link->Release();
  return info;
}

class ShortcutStepsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedPin_ = g_shellExecute;
    g_shellExecute = &RefusePin;
    // Link targets that exist, as after extraction.
    ASSERT_TRUE(WriteTextFile(install_.Path() + L"NuvraBrowser.exe", "x"));
    ASSERT_TRUE(WriteTextFile(install_.Path() + L"NuvraUninstall.exe", "x"));
    logic_.SetInstallDir(install_.Path().c_str());
    programs_ = ShellFolder(CSIDL_PROGRAMS);
    desktop_ = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    quickLaunch_ = ShellFolder(CSIDL_APPDATA) + L"\\Microsoft\\Internet Explorer\\Quick Launch\\";
    group_ = programs_ + L"\\Nuvra软件中心\\Nuvra游戏浏览器\\";
    RemoveEverything();
  }
  void TearDown() override {
    RemoveEverything();
    g_shellExecute = savedPin_;
  }
  void RemoveEverything() {
    RemoveTree(programs_ + L"\\Nuvra游戏浏览器.lnk");
    RemoveTree(programs_ + L"\\Nuvra软件中心");
    RemoveTree(desktop_ + L"\\Nuvra游戏浏览器.lnk");
    RemoveTree(desktop_ + L"\\游戏大全.url");
    RemoveTree(quickLaunch_ + L"Nuvra游戏浏览器.lnk");
  }

  ComApartment com_;
  ScratchDir install_{L"links"};
  CSetupLogic logic_;
  ShellExecuteFn savedPin_ = nullptr;
  std::wstring programs_, desktop_, quickLaunch_, group_;
};

TEST_F(ShortcutStepsTest, LinksLandInTheUsersFoldersAndReplaceOldOnes) {
  const std::wstring browser = install_.Path() + L"NuvraBrowser.exe";
  const std::wstring uninstall = install_.Path() + L"NuvraUninstall.exe";
  const struct {
    std::wstring link, target, description;
  } expected[] = {
      {programs_ + L"\\Nuvra游戏浏览器.lnk", browser, L"Nuvra游戏浏览器"},
      {group_ + L"Nuvra游戏浏览器.lnk", browser, L"Nuvra游戏浏览器"},
      {group_ + L"卸载Nuvra游戏浏览器.lnk", uninstall, L""},
      {desktop_ + L"\\Nuvra游戏浏览器.lnk", browser, L"Nuvra游戏浏览器"},
      {quickLaunch_ + L"Nuvra游戏浏览器.lnk", browser, L"Nuvra游戏浏览器"},
  };
  // Files of the same names from an earlier installation, not links at all.
  CreateDirectoryW(programs_.c_str(), nullptr);
  SHCreateDirectoryExW(nullptr, group_.c_str(), nullptr);
  SHCreateDirectoryExW(nullptr, quickLaunch_.c_str(), nullptr);
  for (const auto& row : expected) ASSERT_TRUE(WriteTextFile(row.link, "stale"));

  // Pins are refused throughout: steps 4 and 7 still succeed.
  EXPECT_EQ(1, logic_.StepStartMenuShortcuts());
  EXPECT_EQ(1, logic_.StepDesktopShortcut());
  EXPECT_EQ(1, logic_.StepQuickLaunchShortcut());

  for (const auto& row : expected) {
    const LinkInfo link = ReadLink(row.link);
    ASSERT_TRUE(link.loaded) << "not a link: " << testing::PrintToString(row.link);
    EXPECT_EQ(0, lstrcmpiW(row.target.c_str(), link.target.c_str()))
        << testing::PrintToString(link.target);
    EXPECT_EQ(row.description, link.description) << testing::PrintToString(row.link);
  }
}

TEST_F(ShortcutStepsTest, StepsCreateMissingFolders) {
  RemoveTree(quickLaunch_);
  EXPECT_EQ(1, logic_.StepStartMenuShortcuts());
  EXPECT_EQ(1, logic_.StepQuickLaunchShortcut());
  EXPECT_TRUE(ReadLink(group_ + L"卸载Nuvra游戏浏览器.lnk").loaded);
  EXPECT_TRUE(ReadLink(quickLaunch_ + L"Nuvra游戏浏览器.lnk").loaded);
}

TEST_F(ShortcutStepsTest, UnwritableUninstallLinkFailsStepAfterBrowserLinks) {
  // A folder in the uninstall link's place makes only that save fail.
  SHCreateDirectoryExW(nullptr, (group_ + L"卸载Nuvra游戏浏览器.lnk").c_str(), nullptr);
  EXPECT_EQ(0, logic_.StepStartMenuShortcuts());
  EXPECT_TRUE(ReadLink(programs_ + L"\\Nuvra游戏浏览器.lnk").loaded);
  EXPECT_TRUE(ReadLink(group_ + L"Nuvra游戏浏览器.lnk").loaded);
}

TEST_F(ShortcutStepsTest, PortalShortcutHoldsExactlyTheResourceBytes) {
  const std::wstring url = desktop_ + L"\\游戏大全.url";
  // A longer file from before must not leave a tail behind.
  ASSERT_TRUE(WriteTextFile(url, "[InternetShortcut]\r\nURL=http://old.invalid/\r\n"
                                 "a tail that is longer than the new text ........\r\n"));
  EXPECT_EQ(1, logic_.StepGamePortalShortcut());
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(url, &bytes));
  EXPECT_EQ(std::string(kPortalFixture), bytes);
}

TEST(CreateShortcut, MissingTargetOrLinkPathIsAnInvalidParameter) {
  SetLastError(0);
  EXPECT_EQ(0, CreateShortcut(L"d", nullptr, L"C:\\x.lnk"));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
  SetLastError(0);
  EXPECT_EQ(0, CreateShortcut(L"d", L"C:\\x.exe", nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

}  // namespace
