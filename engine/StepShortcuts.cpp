// Install steps 4 to 7: the browser's shortcuts in the current user's
// Programs menu, desktop and Quick Launch folder, the game-portal Internet
// shortcut, and the Start-menu and taskbar pins (Windows 6.0 and later).
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "engine/CSetupLogic.h"
#include "engine/CreateShortcut.h"
#include "engine/OsVersion.h"
#include "engine/OsVersionCode.h"
#include "engine/ShellFolders.h"
#include "engine/Handles.h"
#include "engine/ShellLaunch.h"

namespace {

const wchar_t kBrowserTitle[] = L"Nuvra游戏浏览器";
const wchar_t kBrowserExe[] = L"NuvraBrowser.exe";
const wchar_t kUninstallExe[] = L"NuvraUninstall.exe";
const wchar_t kBrowserLinkName[] = L"Nuvra游戏浏览器.lnk";
const wchar_t kUninstallLinkName[] = L"卸载Nuvra游戏浏览器.lnk";
const wchar_t kProgramsSubfolder[] = L"\\Nuvra软件中心\\Nuvra游戏浏览器\\";
const wchar_t kQuickLaunchSubfolder[] = L"\\Microsoft\\Internet Explorer\\Quick Launch\\";
const wchar_t kPortalFileName[] = L"\\游戏大全.url";
const WORD kPortalResourceId = 152;

// Writes a browser shortcut (with the browser's title as description).
int CreateBrowserShortcut(const std::wstring& installDir, const std::wstring& linkPath) {
  return CreateShortcut(kBrowserTitle, (installDir + kBrowserExe).c_str(), linkPath.c_str());
}

bool PinVerbsAvailable() { return IsVistaOrLaterCode(GetOsVersionCode()); }

}  // namespace

int CSetupLogic::StepStartMenuShortcuts() {
  std::wstring programs;
  if (!GetShellFolderPath(CSIDL_PROGRAMS, &programs)) return 0;
  CreateFolderTree(programs);
  if (!CreateBrowserShortcut(m_installDir, programs + L"\\" + kBrowserLinkName)) return 0;

  const std::wstring group = programs + kProgramsSubfolder;
  CreateFolderTree(group);
  const std::wstring groupLink = group + kBrowserLinkName;
  if (!CreateBrowserShortcut(m_installDir, groupLink)) return 0;
  // The uninstall shortcut carries no description.
  if (!CreateShortcut(nullptr, (m_installDir + kUninstallExe).c_str(),
                      (group + kUninstallLinkName).c_str()))
    return 0;

  if (PinVerbsAvailable()) ShellPinShortcut(L"startpin", groupLink.c_str());
  return 1;
}

int CSetupLogic::StepDesktopShortcut() {
  std::wstring desktop;
  if (!GetShellFolderPath(CSIDL_DESKTOPDIRECTORY, &desktop)) return 0;
  return CreateBrowserShortcut(m_installDir, desktop + L"\\" + kBrowserLinkName);
}

int CSetupLogic::StepGamePortalShortcut() {
  // The shortcut's whole text travels in the installer's resources and is
  // written byte for byte.
  HMODULE self = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(self, MAKEINTRESOURCEW(kPortalResourceId), L"FILE");
  if (!found) return 0;
  HGLOBAL loaded = LoadResource(self, found);
  const DWORD size = SizeofResource(self, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes || !size) return 0;

  std::wstring desktop;
  if (!GetShellFolderPath(CSIDL_DESKTOPDIRECTORY, &desktop)) return 0;
  ScopedFile file(CreateFileW((desktop + kPortalFileName).c_str(), GENERIC_WRITE,
                               FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return 0;
  DWORD written = 0;
  if (!WriteFile(file.Get(), bytes, size, &written, nullptr)) return 0;
  if (written != size) {
    SetLastError(ERROR_WRITE_FAULT);
    return 0;
  }
  return 1;
}

int CSetupLogic::StepQuickLaunchShortcut() {
  std::wstring appData;
  if (!GetShellFolderPath(CSIDL_APPDATA, &appData)) return 0;
  const std::wstring quickLaunch = appData + kQuickLaunchSubfolder;
  CreateFolderTree(quickLaunch);
  const std::wstring link = quickLaunch + kBrowserLinkName;
  if (!CreateBrowserShortcut(m_installDir, link)) return 0;
  if (PinVerbsAvailable()) ShellPinShortcut(L"taskbarpin", link.c_str());
  return 1;
}
