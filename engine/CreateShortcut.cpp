// Shell links through the shell link object, then a change notice so that
// open shell views show the new link at once.
#include "engine/CreateShortcut.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

#include "engine/ComRef.h"

namespace {

// Path notices that are sent without waiting for the shell to handle them.
// Newer SDK headers define SHCNF_FLUSHNOWAIT as 0x3000, which adds the
// waiting flush bit; only the no-wait bit is meant here.
const UINT kNotifyPathNoWait = SHCNF_PATHW | 0x2000;

// The folder part of a path, separator kept: cut after the later of the
// last '\' and the last '/'; empty when there is neither.
std::wstring FolderOf(const wchar_t* path) {
  std::wstring text(path);
  const size_t cut = text.find_last_of(L"\\/");
  return cut == std::wstring::npos ? std::wstring() : text.substr(0, cut + 1);
}

int FailWith(HRESULT hr) {
  SetLastError(static_cast<DWORD>(hr));
  return 0;
}

}  // namespace

int CreateShortcut(const wchar_t* description, const wchar_t* target,
                   const wchar_t* linkPath) {
  if (!target || !linkPath) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  ComRef<IShellLinkW> link;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IShellLinkW, link.ReceiveVoid());
  if (FAILED(hr)) return FailWith(hr);
  ComRef<IPersistFile> file;
  hr = link->QueryInterface(IID_IPersistFile, file.ReceiveVoid());
  if (FAILED(hr)) return FailWith(hr);
  hr = link->SetPath(target);
  if (FAILED(hr)) return FailWith(hr);
  if (description && *description) {
    hr = link->SetDescription(description);
    if (FAILED(hr)) return FailWith(hr);
  }
  hr = file->Save(linkPath, TRUE);
  if (FAILED(hr)) return FailWith(hr);

  const std::wstring folder = FolderOf(linkPath);
  SHChangeNotify(SHCNE_UPDATEDIR | SHCNE_MKDIR, kNotifyPathNoWait, folder.c_str(), nullptr);
  SHChangeNotify(SHCNE_CREATE, kNotifyPathNoWait, linkPath, nullptr);
  return 1;
}
