#include "tools/nuvra-pack/PackageFile.h"

#include <vector>

#include "tools/nuvra-pack/FileIo.h"
#include "tools/nuvra-pack/ToolResult.h"

namespace nuvra::pack {

bool LoadPackage(const std::string& file, LoadedPackage* package) {
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadWholeFile(file, &bytes, &error)) {
    ReportProblem(file, error);
    return false;
  }
  package->fileSize = bytes.size();
  ContainerHeader header;
  if (ReadContainerHeader(bytes.data(), bytes.size(), &header)) {
    package->declaredSize = header.unpackedSize;
  }
  package->decode = DecodeContainer(bytes.data(), bytes.size(), &package->archive);
  return true;
}

std::string DecodeProblem(const LoadedPackage& package) {
  std::string text = DecodeStatusText(package.decode.status);
  if (package.decode.status == DecodeStatus::Truncated ||
      package.decode.status == DecodeStatus::DataError) {
    text += " (produced " + std::to_string(package.decode.produced) + " of " +
            std::to_string(package.declaredSize) + " bytes)";
  } else if (package.decode.status == DecodeStatus::OutOfMemory) {
    text += " (" + std::to_string(package.declaredSize) + " bytes)";
  }
  return text;
}

std::string WalkProblem(WalkEnd end, size_t failedOffset) {
  std::string text = WalkEndText(end);
  if (!WalkSucceeded(end)) text += " (record at offset " + std::to_string(failedOffset) + ")";
  return text;
}

}  // namespace nuvra::pack
