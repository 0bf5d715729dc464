// Reads the major and minor file version from a file's version resource.
#include <cstdlib>

#include "engine/UninstallEntry.h"

int GetFileVersion(const wchar_t* path, UINT* major, UINT* minor) {
  if (!path || !*path) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(path, &handle);
  if (size == 0) return 0;
  void* block = malloc(size);
  if (!block) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  VS_FIXEDFILEINFO* info = nullptr;
  UINT infoSize = 0;
  const bool read = GetFileVersionInfoW(path, 0, size, block) &&
                    VerQueryValueW(block, L"\\", reinterpret_cast<void**>(&info), &infoSize) &&
                    info && infoSize >= sizeof(VS_FIXEDFILEINFO);
  if (read) {
    *major = HIWORD(info->dwFileVersionMS);
    *minor = LOWORD(info->dwFileVersionMS);
  }
  free(block);
  return read ? 1 : 0;
}
