#include "payload/BrowserRegistration.h"

#include <shlobj.h>
#include <shobjidl.h>

#include "payload/common/Companion.h"

const wchar_t kBrowserClientName[] = L"NuvraBrowser";
const wchar_t kBrowserProgId[] = L"NuvraBrowserHTML";

namespace {

#define CLIENT_KEY L"Software\\Clients\\StartMenuInternet\\NuvraBrowser"
#define PROGID_KEY L"Software\\Classes\\NuvraBrowserHTML"

const wchar_t kAppName[] = L"Nuvra游戏浏览器";

// A path of any length Windows allows, quoted and with arguments.
const size_t kValueCapacity = kMaxWideText + 16;

struct RegistryString {
  const wchar_t* key;
  const wchar_t* name;  // null: the key's default value
  const wchar_t* value;
};

// Writes every string in order; stops at the first that fails.
DWORD WriteAll(const RegistryString* strings, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    LSTATUS status = SetUserString(strings[i].key, strings[i].name, strings[i].value);
    if (status != ERROR_SUCCESS) return static_cast<DWORD>(status);
  }
  return ERROR_SUCCESS;
}

}  // namespace

DWORD RegisterBrowserForUser(const wchar_t* browserPath) {
  wchar_t iconText[kValueCapacity], runText[kValueCapacity], openText[kValueCapacity];
  TextBuilder iconValue(iconText, kValueCapacity), runValue(runText, kValueCapacity), openValue(openText, kValueCapacity);
  iconValue.Add(browserPath).Add(L",0");
  runValue.Add(L"\"").Add(browserPath).Add(L"\"");
  openValue.Add(L"\"").Add(browserPath).Add(L"\" \"%1\"");
  if (!iconValue.Fits() || !runValue.Fits() || !openValue.Fits()) return ERROR_FILENAME_EXCED_RANGE;

  const RegistryString strings[] = {
      {PROGID_KEY, nullptr, L"Nuvra游戏浏览器 HTML 文档"},
      {PROGID_KEY L"\\DefaultIcon", nullptr, iconValue.Text()},
      {PROGID_KEY L"\\shell\\open\\command", nullptr, openValue.Text()},
      {CLIENT_KEY, nullptr, kAppName},
      {CLIENT_KEY L"\\DefaultIcon", nullptr, iconValue.Text()},
      {CLIENT_KEY L"\\shell\\open\\command", nullptr, runValue.Text()},
      {CLIENT_KEY L"\\Capabilities", L"ApplicationName", kAppName},
      {CLIENT_KEY L"\\Capabilities", L"ApplicationDescription", L"玩网页游戏的浏览器"},
      {CLIENT_KEY L"\\Capabilities", L"ApplicationIcon", iconValue.Text()},
      {CLIENT_KEY L"\\Capabilities\\StartMenu", L"StartMenuInternet", kBrowserClientName},
      {CLIENT_KEY L"\\Capabilities\\URLAssociations", L"http", kBrowserProgId},
      {CLIENT_KEY L"\\Capabilities\\URLAssociations", L"https", kBrowserProgId},
      {CLIENT_KEY L"\\Capabilities\\FileAssociations", L".htm", kBrowserProgId},
      {CLIENT_KEY L"\\Capabilities\\FileAssociations", L".html", kBrowserProgId},
      // The capabilities become visible to Windows only once listed here.
      {L"Software\\RegisteredApplications", kBrowserClientName, CLIENT_KEY L"\\Capabilities"},
      // The user's Start-menu browser (Windows 5.x reads this one).
      {L"Software\\Clients\\StartMenuInternet", nullptr, kBrowserClientName},
  };
  DWORD error = WriteAll(strings, sizeof(strings) / sizeof(strings[0]));
  if (error != ERROR_SUCCESS) return error;
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
  return ERROR_SUCCESS;
}

void RequestDefaultBrowser() {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return;
  IApplicationAssociationRegistration* registration = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ApplicationAssociationRegistration, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IApplicationAssociationRegistration,
                                 reinterpret_cast<void**>(&registration)))) {
    registration->SetAppAsDefaultAll(kBrowserClientName);
    registration->Release();
  }
  CoUninitialize();
}
