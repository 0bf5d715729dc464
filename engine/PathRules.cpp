#include "engine/PathRules.h"

std::wstring JoinPath(const std::wstring& dir, const std::wstring& name) {
  if (dir.empty() || IsPathSeparator(dir.back())) return dir + name;
  return dir + L'\\' + name;
}

namespace {

// A component that Windows resolves upwards: ".." and, since it trims
// trailing dots and spaces, any other run of dots and spaces except ".".
// Counting such a run as ".." errs towards "root", the safe side.
bool IsParentComponent(const std::wstring& path, size_t begin, size_t end) {
  if (end - begin == 1 && path[begin] == L'.') return false;
  for (size_t i = begin; i < end; ++i)
    if (path[i] != L'.' && path[i] != L' ') return false;
  return true;
}

// How many folders below its start a path leads to: its non-empty
// components, where "." stays and ".." goes back up (never above the start).
size_t CountComponents(const std::wstring& path, size_t from) {
  size_t count = 0;
  size_t i = from;
  while (i < path.size()) {
    if (IsPathSeparator(path[i])) {
      ++i;
      continue;
    }
    const size_t begin = i;
    while (i < path.size() && !IsPathSeparator(path[i])) ++i;
    if (i - begin == 1 && path[begin] == L'.') continue;
    if (IsParentComponent(path, begin, i)) {
      if (count > 0) --count;
    } else {
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
