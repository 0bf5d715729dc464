// Shell folder lookup through item lists, and folder creation through the
// shell's own directory-creating function.
#include "engine/ShellFolders.h"

#include <windows.h>
#include <shlobj.h>

#include "engine/ComRef.h"

namespace {

// SHCreateDirectory is exported only by ordinal on the oldest systems that
// have it, so it is looked up by that ordinal instead of by name.
const WORD kShCreateDirectoryOrdinal = 165;
using ShCreateDirectoryFn = int(WINAPI*)(HWND owner, const wchar_t* path);

// An item list freed through the shell allocator that handed it out.
class ShellItemList {
 public:
  explicit ShellItemList(IMalloc* allocator) : allocator_(allocator), list_(nullptr) {}
  ~ShellItemList() {
    if (list_) allocator_->Free(list_);
  }
  ShellItemList(const ShellItemList&) = delete;
  ShellItemList& operator=(const ShellItemList&) = delete;

  LPITEMIDLIST Get() const { return list_; }
  LPITEMIDLIST* Receive() { return &list_; }

 private:
  IMalloc* allocator_;
  LPITEMIDLIST list_;
};

}  // namespace

bool GetShellFolderPath(int csidl, std::wstring* path) {
  ComRef<IMalloc> allocator;
  HRESULT hr = SHGetMalloc(allocator.Receive());
  if (FAILED(hr)) {
    SetLastError(hr);
    return false;
  }
  ShellItemList items(allocator.Get());
  hr = SHGetSpecialFolderLocation(nullptr, csidl, items.Receive());
  if (FAILED(hr)) {
    SetLastError(hr);
    return false;
  }
  // SHGetPathFromIDListW writes at most MAX_PATH characters and fails for
  // a longer path, so the buffer can neither overflow nor hold a cut path.
  wchar_t buffer[MAX_PATH + 1] = {};
  if (!SHGetPathFromIDListW(items.Get(), buffer)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
  }
  path->assign(buffer);
  return true;
}

void CreateFolderTree(const std::wstring& path) {
  HMODULE shell = GetModuleHandleW(L"shell32.dll");
  if (!shell) shell = LoadLibraryW(L"shell32.dll");
  if (!shell) return;
  auto create = reinterpret_cast<ShCreateDirectoryFn>(reinterpret_cast<void*>(
      GetProcAddress(shell, MAKEINTRESOURCEA(kShCreateDirectoryOrdinal))));
  if (create) create(nullptr, path.c_str());
}
