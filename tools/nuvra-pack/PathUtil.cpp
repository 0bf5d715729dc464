#include "tools/nuvra-pack/PathUtil.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace nuvra::pack {

std::string RealPath(const std::string& path) {
  char buffer[PATH_MAX];
  return realpath(path.c_str(), buffer) ? std::string(buffer) : std::string();
}

bool IsInsideFolder(const std::string& path, const std::string& root) {
  if (root == "/") return true;
  return path == root || (path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
                          path[root.size()] == '/');
}

std::string ParentFolder(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool MakeFolders(const std::string& path) {
  for (size_t cut = path.find('/', 1);; cut = path.find('/', cut + 1)) {
    std::string part = path.substr(0, cut);
    if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
    if (cut == std::string::npos) break;
  }
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return false;
  if (!S_ISDIR(info.st_mode)) {
    errno = ENOTDIR;
    return false;
  }
  return true;
}

}  // namespace nuvra::pack
