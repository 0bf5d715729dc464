// nuvra-pack list FILE: one line per record, content size and name.
#include <cstdio>

#include "tools/nuvra-pack/Commands.h"
#include "tools/nuvra-pack/PackageFile.h"
#include "tools/nuvra-pack/ToolResult.h"

namespace nuvra::pack {
namespace {

bool PrintRecord(const ArchiveRecord& record, void*) {
  std::printf("%10u  ", static_cast<unsigned>(record.dataLength));
  std::fwrite(record.name, 1, record.nameLength, stdout);
  std::putchar('\n');
  return true;
}

}  // namespace

int RunList(const std::string& file) {
  LoadedPackage package;
  if (!LoadPackage(file, &package)) return kExitBadInput;
  // What could be decoded is still listed, so a damaged package shows how
  // far it is intact.
  size_t failedOffset = 0;
  WalkEnd end = WalkArchive(package.archive.data(), package.archive.length(), PrintRecord,
                            nullptr, &failedOffset);
  std::fflush(stdout);
  if (package.decode.status != DecodeStatus::Ok) return Fail(file, DecodeProblem(package));
  if (!WalkSucceeded(end)) return Fail(file, WalkProblem(end, failedOffset));
  if (end == WalkEnd::StrayBytes) ReportNote(file + ": " + WalkEndText(end));
  return kExitOk;
}

}  // namespace nuvra::pack
