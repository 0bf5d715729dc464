#include "engine/PathRules.h"

std::wstring JoinPath(const std::wstring& dir, const std::wstring& name) {
  if (dir.empty() || IsPathSeparator(dir.back())) return dir + name;
  return dir + L'\\' + name;
}

namespace {

// Splits a path into its non-empty components.
size_t CountComponents(const std::wstring& path, size_t from) {
  size_t count = 0;
  bool inComponent = false;
  for (size_t i = from; i < path.size(); ++i) {
    if (IsPathSeparator(path[i])) {
      inComponent = false;
    } else if (!inComponent) {
      inComponent = true;
      ++count;
    }
  }
  return count;
}

bool HasDrivePrefix(const std::wstring& path) {
  return path.size() >= 2 && path[1] == L':' &&
         ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
}

}  // namespace

bool IsDriveRoot(const std::wstring& dir) {
  // "\\server\share": the share itself is the root.
  if (dir.size() >= 2 && IsPathSeparator(dir[0]) && IsPathSeparator(dir[1]))
    return CountComponents(dir, 2) <= 2;
  if (HasDrivePrefix(dir)) return CountComponents(dir, 2) == 0;
  return CountComponents(dir, 0) == 0;
}
