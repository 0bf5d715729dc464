// Creates the folders of a path one level at a time.
#include "engine/Extraction.h"
#include "engine/PathRules.h"

namespace {

// Index of the first separator that ends a folder that may need creating:
// after "\\server\share" of a network path, else after the first character
// (a leading "\" or a drive "C:" always exists).
size_t FirstCreatableSeparator(const std::wstring& path) {
  if (path.size() < 2 || !IsPathSeparator(path[0]) || !IsPathSeparator(path[1])) return 1;
  size_t i = 2;
  for (int component = 0; component < 2 && i < path.size(); ++component) {
    while (i < path.size() && IsPathSeparator(path[i])) ++i;
    while (i < path.size() && !IsPathSeparator(path[i])) ++i;
  }
  return i + 1;
}

}  // namespace

bool CreateDirectoryPath(const std::wstring& path) {
  if (!FitsPathBuffer(path)) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  for (size_t i = FirstCreatableSeparator(path); i < path.size(); ++i) {
    if (!IsPathSeparator(path[i]) || IsPathSeparator(path[i - 1])) continue;
    const std::wstring prefix = path.substr(0, i);
    if (prefix.size() == 2 && prefix[1] == L':') continue;
    if (GetFileAttributesW(prefix.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
    if (!CreateDirectoryW(prefix.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
      return false;
  }
  return true;
}
