// The nuvra-pack commands; each returns an ExitCode.
#pragma once

#include <string>

#include "tools/nuvra-pack/PayloadScan.h"

namespace nuvra::pack {

struct PackArgs {
  std::string dir;
  std::string output;
  ScanOptions scan;
};

int RunPack(const PackArgs& args);
int RunList(const std::string& file);
int RunUnpack(const std::string& file, const std::string& dir);
int RunVerify(const std::string& file, bool requirePrograms);

}  // namespace nuvra::pack
