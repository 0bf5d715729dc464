// Install step 1: lists the browser among the current user's installed
// programs, with its name, icon, version, date and uninstall command.
#include "engine/CSetupLogic.h"
#include "engine/Extraction.h"
#include "engine/Handles.h"
#include "engine/UninstallEntry.h"
#include "engine/UninstallText.h"

const wchar_t kUninstallKeyPath[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\NuvraBrowser";
const wchar_t kUninstallPublisher[] = L"Nuvra Software";
const wchar_t kUninstallAboutHost[] = L"www.nuvra.example";

namespace {

const wchar_t kDisplayName[] = L"Nuvra游戏浏览器";
const wchar_t kUninstallerExeName[] = L"NuvraUninstall.exe";

// REG_SZ with its terminating null.
void SetString(HKEY key, const wchar_t* name, const std::wstring& text) {
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void SetDword(HKEY key, const wchar_t* name, DWORD value) {
  RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

}  // namespace

int CSetupLogic::StepWriteUninstallEntry() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return WriteUninstallEntry(m_installDir, now);
}

int WriteUninstallEntry(const std::wstring& dir, const SYSTEMTIME& date) {
  ScopedRegKey key;
  const LONG opened = RegCreateKeyExW(HKEY_CURRENT_USER, kUninstallKeyPath, 0, nullptr,
                                      REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr,
                                      key.Receive(), nullptr);
  if (opened != ERROR_SUCCESS) {
    SetLastError(opened);
    return 0;
  }
  const std::wstring browser = dir + kBrowserExeName;
  SetString(key.Get(), L"DisplayName", kDisplayName);
  SetString(key.Get(), L"UninstallString", UninstallCommand(dir + kUninstallerExeName));
  SetString(key.Get(), L"DisplayIcon", browser);
  UINT major = 0, minor = 0;
  if (GetFileVersion(browser.c_str(), &major, &minor))
    SetString(key.Get(), L"DisplayVersion", FormatDisplayVersion(major, minor));
  SetString(key.Get(), L"InstallDate", FormatInstallDate(date.wYear, date.wMonth, date.wDay));
  SetString(key.Get(), L"URLInfoAbout", kUninstallAboutHost);
  SetString(key.Get(), L"Publisher", kUninstallPublisher);
  SetString(key.Get(), L"InstallLocation", dir);
  SetDword(key.Get(), L"NoModify", 0);
  SetDword(key.Get(), L"NoRepair", 0);
  return 1;
}
