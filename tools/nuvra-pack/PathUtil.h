// Host path helpers for nuvra-pack.
#pragma once

#include <string>

namespace nuvra::pack {

// The canonical absolute path (links resolved), or empty when it does not
// exist.
std::string RealPath(const std::string& path);

// True when `path` is `root` or lies below it; both canonical.
bool IsInsideFolder(const std::string& path, const std::string& root);

// The folder part of a file path ("." for a bare name).
std::string ParentFolder(const std::string& path);

// Creates `path` and its missing parents; false with errno set on failure.
bool MakeFolders(const std::string& path);

}  // namespace nuvra::pack
