// The package copy on disk: written from the installer's resource, then
// mapped read-only for decoding.
#include "engine/Extraction.h"

int WritePackageFile(HMODULE resources, const std::wstring& path) {
  HRSRC found = FindResourceW(resources, MAKEINTRESOURCEW(kPackageResourceId), L"FILE");
  if (!found) return 0;
  HGLOBAL loaded = LoadResource(resources, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return 0;
  const DWORD size = SizeofResource(resources, found);

  ScopedFile file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 0;
  DWORD written = 0;
  const BOOL wrote = WriteFile(file.Get(), bytes, size, &written, nullptr);
  if (wrote && written == size) return 1;
  if (wrote) SetLastError(ERROR_DISK_FULL);
  // A partial copy (typically on a full disk) is of no use to anyone.
  file.Reset();
  const DWORD error = GetLastError();
  DeleteFileW(path.c_str());
  SetLastError(error);
  return 0;
}

bool MapPackageFile(const wchar_t* path, PackageMapping* mapping) {
  ScopedFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  mapping->size = GetFileSize(file.Get(), nullptr);
  // No name: a named mapping could be created first by another process,
  // which would then hand the installer its own bytes to unpack.
  mapping->mapping.Reset(CreateFileMappingW(file.Get(), nullptr, PAGE_READONLY, 0,
                                            mapping->size, nullptr));
  if (!mapping->mapping) return false;
  mapping->view.Reset(MapViewOfFile(mapping->mapping.Get(), FILE_MAP_READ, 0, 0, 0));
  if (!mapping->view) {
    mapping->mapping.Reset();
    return false;
  }
  return true;
}
