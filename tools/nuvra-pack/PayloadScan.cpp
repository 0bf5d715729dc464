#include "tools/nuvra-pack/PayloadScan.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>

#include "engine/package/Package.h"
#include "tools/nuvra-pack/PathUtil.h"
#include "tools/nuvra-pack/ToolResult.h"

namespace nuvra::pack {

const char* const kRequiredPrograms[3] = {"NuvraBrowser.exe", "NuvraUninstall.exe",
                                          "NuvraCtrl.exe"};

namespace {

constexpr uint64_t kFourGiB = uint64_t{1} << 32;

class Scanner {
 public:
  Scanner(const std::string& root, const ScanOptions& options, std::vector<PayloadFile>* files)
      : root_(root), rootReal_(RealPath(root)), options_(options), files_(files) {}

  bool Run() {
    if (rootReal_.empty()) return Refuse(root_, "cannot open the payload folder: " + ErrnoText());
    struct stat info;
    if (stat(rootReal_.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
      return Refuse(root_, "not a folder");
    }
    ancestors_.push_back(rootReal_);
    VisitFolder(root_, "");
    return ok_;
  }

 private:
  bool Refuse(const std::string& what, const std::string& problem) {
    ReportProblem(what, problem);
    ok_ = false;
    return false;
  }

  void VisitFolder(const std::string& path, const std::string& prefix) {
    DIR* dir = opendir(path.c_str());
    if (!dir) {
      Refuse(path, "cannot list folder: " + ErrnoText());
      return;
    }
    std::vector<std::string> entries;
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name != "." && name != "..") entries.push_back(name);
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end());
    if (entries.empty() && !prefix.empty()) {
      ReportNote(path + ": empty folder not packed (folders have no records)");
    }
    for (const std::string& entry : entries) {
      if (entry.find('\\') != std::string::npos) {
        Refuse(path + "/" + entry, "name holds a backslash, which the installer reads as a folder separator");
      } else {
        VisitEntry(path + "/" + entry, prefix + entry);
      }
    }
  }

  void VisitEntry(const std::string& path, const std::string& name) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0) {
      Refuse(path, "cannot read: " + ErrnoText());
      return;
    }
    if (S_ISLNK(info.st_mode)) {
      VisitLink(path, name);
    } else if (S_ISDIR(info.st_mode)) {
      VisitFolder(path, name + "\\");
    } else if (S_ISREG(info.st_mode)) {
      AddFile(path, name, static_cast<uint64_t>(info.st_size));
    } else {
      Refuse(path, "not a regular file, folder or link");
    }
  }

  // A link is packed as what it points to, as long as that stays inside the
  // payload folder; a link to a folder that holds it would never end.
  void VisitLink(const std::string& path, const std::string& name) {
    std::string target = RealPath(path);
    struct stat info;
    if (target.empty() || stat(target.c_str(), &info) != 0) {
      Refuse(path, "broken link");
    } else if (!IsInsideFolder(target, rootReal_)) {
      Refuse(path, "link leads outside the payload folder (to " + target + ")");
    } else if (S_ISREG(info.st_mode)) {
      AddFile(path, name, static_cast<uint64_t>(info.st_size));
    } else if (!S_ISDIR(info.st_mode)) {
      Refuse(path, "link to something that is not a regular file or folder");
    } else if (std::find(ancestors_.begin(), ancestors_.end(), target) != ancestors_.end()) {
      Refuse(path, "link to a folder that contains it (endless loop)");
    } else {
      ancestors_.push_back(target);
      VisitFolder(path, name + "\\");
      ancestors_.pop_back();
    }
  }

  void AddFile(const std::string& path, const std::string& name, uint64_t size) {
    std::string reason = RefusedNameReason(name, options_.allowNonAscii);
    if (!reason.empty()) {
      Refuse(path, reason);
    } else if (size >= kFourGiB) {
      Refuse(path, "file of 4 GiB or more (the package holds less than 4 GiB)");
    } else {
      files_->push_back({name, path, size});
    }
  }

  std::string root_;
  std::string rootReal_;
  ScanOptions options_;
  std::vector<PayloadFile>* files_;
  std::vector<std::string> ancestors_;
  bool ok_ = true;
};

std::string FoldCase(const std::string& name) {
  std::string folded = name;
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

// Windows compares names without regard to case: "a.txt" and "A.TXT", or a
// file "Res" beside a folder "res\", would land on the same file.
bool CheckCaseCollisions(const std::string& root, const std::vector<PayloadFile>& files) {
  std::map<std::string, std::string> seen;  // folded name -> name (files and folders)
  bool ok = true;
  for (const PayloadFile& file : files) {
    for (size_t cut = file.name.find('\\'); cut != std::string::npos;
         cut = file.name.find('\\', cut + 1)) {
      std::string folder = file.name.substr(0, cut);
      auto [it, added] = seen.emplace(FoldCase(folder), folder + "\\");
      if (!added && it->second != folder + "\\") {
        ReportProblem(root, "\"" + it->second + "\" and folder \"" + folder +
                                "\\\" are the same name on Windows");
        ok = false;
      }
    }
    auto [it, added] = seen.emplace(FoldCase(file.name), file.name);
    if (!added) {
      ReportProblem(root, "\"" + it->second + "\" and \"" + file.name +
                              "\" are the same name on Windows");
      ok = false;
    }
  }
  return ok;
}

bool CheckTotals(const std::string& root, const std::vector<PayloadFile>& files,
                 const ScanOptions& options) {
  bool ok = true;
  uint64_t total = 0;
  for (const PayloadFile& file : files) total += kRecordHeaderSize + file.name.size() + file.size;
  if (total >= kFourGiB) {
    ReportProblem(root, "payload archive of 4 GiB or more (the package holds less than 4 GiB)");
    ok = false;
  }
  if (!options.requirePrograms) return ok;
  for (const char* program : kRequiredPrograms) {
    bool found = std::any_of(files.begin(), files.end(),
                             [&](const PayloadFile& file) { return file.name == program; });
    if (!found) {
      ReportProblem(root, std::string("no ") + program +
                              " at the top level (the installer needs it; --no-require skips "
                              "this check)");
      ok = false;
    }
  }
  return ok;
}

}  // namespace

std::string RefusedNameReason(const std::string& name, bool allowNonAscii) {
  if (name.size() > kMaxArchiveNameBytes) {
    return "name is " + std::to_string(name.size()) +
           " bytes; the installer takes names shorter than 260 bytes";
  }
  for (unsigned char c : name) {
    if (c >= 0x80 && !allowNonAscii) {
      return "non-ASCII name (the installer reads names in the machine's ANSI code page; "
             "--allow-non-ascii packs it anyway)";
    }
    if (c < 0x20 || c == 0x7F) return "name holds a control character";
    if (std::string("<>:\"|?*").find(static_cast<char>(c)) != std::string::npos) {
      return std::string("name holds '") + static_cast<char>(c) +
             "', which Windows file names cannot hold";
    }
  }
  if (!IsSafeArchiveName(name.data(), name.size())) {
    return "name the installer refuses (a part that is empty, only dots and spaces, or a "
           "device name such as NUL or COM1)";
  }
  return std::string();
}

bool ScanPayload(const std::string& dir, const ScanOptions& options,
                 std::vector<PayloadFile>* files) {
  files->clear();
  bool ok = Scanner(dir, options, files).Run();
  std::sort(files->begin(), files->end(),
            [](const PayloadFile& a, const PayloadFile& b) { return a.name < b.name; });
  ok = CheckCaseCollisions(dir, *files) && ok;
  return CheckTotals(dir, *files, options) && ok;
}

}  // namespace nuvra::pack
