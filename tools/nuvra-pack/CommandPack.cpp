// nuvra-pack pack DIR -o FILE: one record per file, sorted by name,
// compressed into a container.  No time stamp or other varying byte goes
// in, so the same payload always gives the same package.
#include <cstdio>

#include "engine/package/PackageWriter.h"
#include "tools/nuvra-pack/Commands.h"
#include "tools/nuvra-pack/FileIo.h"
#include "tools/nuvra-pack/PathUtil.h"
#include "tools/nuvra-pack/ProgressLine.h"
#include "tools/nuvra-pack/ToolResult.h"

namespace nuvra::pack {
namespace {

bool ShowCompressing(uint64_t done, uint64_t total, void* context) {
  static_cast<ProgressLine*>(context)->Show("compressing", done, total);
  return true;
}

// A package written inside the payload folder would be packed by the next
// run.
bool OutputInsidePayload(const PackArgs& args) {
  std::string outputFolder = RealPath(ParentFolder(args.output));
  std::string payload = RealPath(args.dir);
  return !outputFolder.empty() && !payload.empty() && IsInsideFolder(outputFolder, payload);
}

int ReadArchive(const std::vector<PayloadFile>& files, ProgressLine* progress,
                ArchiveWriter* writer) {
  uint64_t total = 0, done = 0;
  for (const PayloadFile& file : files) total += file.size;
  std::vector<uint8_t> content;
  for (const PayloadFile& file : files) {
    std::string error;
    content.clear();
    if (!ReadWholeFile(file.path, &content, &error)) return Fail(file.path, error);
    if (!writer->AddRecord(file.name.data(), file.name.size(), content.data(), content.size())) {
      return Fail(file.path, "the archive would reach 4 GiB (the package holds less)");
    }
    done += file.size;
    progress->Show("reading", done, total);
  }
  return kExitOk;
}

}  // namespace

int RunPack(const PackArgs& args) {
  if (OutputInsidePayload(args)) {
    return Fail(args.output, "lies inside the payload folder " + args.dir +
                                 "; the next pack would include it");
  }
  std::vector<PayloadFile> files;
  if (!ScanPayload(args.dir, args.scan, &files)) return kExitBadInput;

  ProgressLine progress;
  ArchiveWriter writer;
  if (int code = ReadArchive(files, &progress, &writer)) return code;

  EncodeOptions options;
  options.progress = ShowCompressing;
  options.progressContext = &progress;
  std::vector<uint8_t> container;
  EncodeResult encoded =
      EncodeContainer(writer.bytes().data(), writer.bytes().size(), options, &container);
  progress.Finish();
  if (encoded.status != EncodeStatus::Ok) return Fail(args.dir, EncodeStatusText(encoded.status));

  std::string error;
  if (!WriteFileReplacing(args.output, container, &error)) return Fail(args.output, error);
  std::printf("%s: %zu files, %zu bytes packed into %zu\n", args.output.c_str(), files.size(),
              writer.bytes().size(), container.size());
  return kExitOk;
}

}  // namespace nuvra::pack
