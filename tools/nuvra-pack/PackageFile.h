// Reading a package file and describing what is wrong with it.
#pragma once

#include <string>

#include "engine/package/Package.h"

namespace nuvra::pack {

struct LoadedPackage {
  size_t fileSize = 0;
  uint32_t declaredSize = 0;
  DecodeResult decode = {};
  DecodedArchive archive;
};

// Reads and decodes `file`.  False, with the problem reported, when the file
// cannot be read; otherwise `decode` says how decoding went and `archive`
// holds the bytes the decoder produced.
bool LoadPackage(const std::string& file, LoadedPackage* package);

// "corrupt LZMA data (produced 10 of 20 bytes)".
std::string DecodeProblem(const LoadedPackage& package);
// "a record runs past the end of the archive (record at offset 123)".
std::string WalkProblem(WalkEnd end, size_t failedOffset);

}  // namespace nuvra::pack
