// Finding the files of a payload folder and refusing what the installer
// cannot install.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nuvra::pack {

struct PayloadFile {
  std::string name;  // archive name: relative path with backslashes
  std::string path;  // where to read it
  uint64_t size;
};

struct ScanOptions {
  bool allowNonAscii = false;
  bool requirePrograms = true;  // NuvraBrowser.exe, NuvraUninstall.exe, NuvraCtrl.exe
};

// The programs the installer waits for, registers and starts.
extern const char* const kRequiredPrograms[3];

// Lists every regular file below `dir` (links followed while they stay
// inside it), sorted byte-wise by archive name.  Every refused file is
// reported on standard error; false when there was any.
bool ScanPayload(const std::string& dir, const ScanOptions& options,
                 std::vector<PayloadFile>* files);

// The reason a single archive name cannot be installed, or empty when it
// can.  Shared by the scan and by tests.
std::string RefusedNameReason(const std::string& name, bool allowNonAscii);

}  // namespace nuvra::pack
