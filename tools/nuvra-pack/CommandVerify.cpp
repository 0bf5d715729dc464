// nuvra-pack verify FILE: decodes and walks; success only for a package the
// installer would install completely.
#include <cstdio>
#include <set>

#include "tools/nuvra-pack/Commands.h"
#include "tools/nuvra-pack/PackageFile.h"
#include "tools/nuvra-pack/ToolResult.h"

namespace nuvra::pack {
namespace {

struct Tally {
  size_t records = 0;
  std::set<std::string> names;
};

bool CountRecord(const ArchiveRecord& record, void* context) {
  auto* tally = static_cast<Tally*>(context);
  ++tally->records;
  tally->names.emplace(record.name, record.nameLength);
  return true;
}

}  // namespace

int RunVerify(const std::string& file, bool requirePrograms) {
  LoadedPackage package;
  if (!LoadPackage(file, &package)) return kExitBadInput;
  if (package.decode.status != DecodeStatus::Ok) return Fail(file, DecodeProblem(package));

  Tally tally;
  size_t failedOffset = 0;
  WalkEnd end = WalkArchive(package.archive.data(), package.archive.length(), CountRecord,
                            &tally, &failedOffset);
  if (!WalkSucceeded(end)) return Fail(file, WalkProblem(end, failedOffset));
  if (end == WalkEnd::StrayBytes) ReportNote(file + ": " + WalkEndText(end));

  if (requirePrograms) {
    for (const char* program : kRequiredPrograms) {
      if (!tally.names.count(program)) {
        return Fail(file, std::string("no ") + program + " at the top level (the installer needs it)");
      }
    }
  }
  std::printf("%s: sound package: %zu records, %zu bytes unpacked from %zu\n", file.c_str(),
              tally.records, package.archive.length(), package.fileSize);
  return kExitOk;
}

}  // namespace nuvra::pack
