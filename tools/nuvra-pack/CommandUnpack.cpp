// nuvra-pack unpack FILE DIR: writes every record below DIR with the
// installer's name rules.  The package is checked whole before the first
// file is written, and every folder on a file's way is opened without
// following links, so nothing lands outside DIR.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "tools/nuvra-pack/Commands.h"
#include "tools/nuvra-pack/FileIo.h"
#include "tools/nuvra-pack/PackageFile.h"
#include "tools/nuvra-pack/PathUtil.h"
#include "tools/nuvra-pack/ToolResult.h"

namespace nuvra::pack {
namespace {

struct UnpackContext {
  int rootFd;
  std::string problem;
};

// Opens (creating it when missing) the folder `name` inside `parent`;
// a link in its place is an error, never followed.
UniqueFd OpenChildFolder(int parent, const std::string& name) {
  if (mkdirat(parent, name.c_str(), 0777) != 0 && errno != EEXIST) return UniqueFd();
  return UniqueFd(openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

// Replaces the file `name` inside `parent`.  Whatever held the name before
// (a file, a hard link to a file elsewhere, a link) is removed first and
// the file created afresh, so no old link is written through.
bool WriteChildFile(int parent, const std::string& name, const ArchiveRecord& record) {
  if (unlinkat(parent, name.c_str(), 0) != 0 && errno != ENOENT) return false;
  UniqueFd fd(openat(parent, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                     0644));
  return fd.valid() && WriteAll(fd.get(), record.data, record.dataLength);
}

bool WriteRecord(const ArchiveRecord& record, void* context) {
  auto* unpack = static_cast<UnpackContext*>(context);
  std::string name(record.name, record.nameLength);
  UniqueFd folder;
  int parent = unpack->rootFd;
  size_t start = 0;
  for (size_t cut = name.find_first_of("\\/"); cut != std::string::npos;
       start = cut + 1, cut = name.find_first_of("\\/", start)) {
    folder = OpenChildFolder(parent, name.substr(start, cut - start));
    if (!folder.valid()) {
      unpack->problem = "cannot create or open folder " + name.substr(0, cut) + ": " + ErrnoText();
      return false;
    }
    parent = folder.get();
  }
  if (!WriteChildFile(parent, name.substr(start), record)) {
    unpack->problem = "cannot write " + name + ": " + ErrnoText();
    return false;
  }
  return true;
}

}  // namespace

int RunUnpack(const std::string& file, const std::string& dir) {
  LoadedPackage package;
  if (!LoadPackage(file, &package)) return kExitBadInput;
  if (package.decode.status != DecodeStatus::Ok) return Fail(file, DecodeProblem(package));
  size_t failedOffset = 0;
  WalkEnd end = WalkArchive(package.archive.data(), package.archive.length(), nullptr, nullptr,
                            &failedOffset);
  if (!WalkSucceeded(end)) {
    return Fail(file, WalkProblem(end, failedOffset) + "; nothing written");
  }

  if (!MakeFolders(dir)) return Fail(dir, "cannot create folder: " + ErrnoText());
  UniqueFd rootFd(open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!rootFd.valid()) return Fail(dir, "cannot open folder: " + ErrnoText());

  UnpackContext context = {rootFd.get(), {}};
  end = WalkArchive(package.archive.data(), package.archive.length(), WriteRecord, &context);
  if (end == WalkEnd::Stopped) return Fail(dir, context.problem);
  if (end == WalkEnd::StrayBytes) ReportNote(file + ": " + WalkEndText(end));
  return kExitOk;
}

}  // namespace nuvra::pack
