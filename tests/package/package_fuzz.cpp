// libFuzzer target over the package reader: the input is tried both as a
// container (decoded, then walked) and directly as an archive.  Every
// record handed out must lie inside the buffer and carry a safe name.
#include <cstdint>
#include <cstdlib>

#include "engine/package/Package.h"

namespace {

struct Bounds {
  const uint8_t* begin;
  const uint8_t* end;
};

bool CheckRecord(const nuvra::ArchiveRecord& record, void* context) {
  const auto* bounds = static_cast<const Bounds*>(context);
  const auto* name = reinterpret_cast<const uint8_t*>(record.name);
  if (name < bounds->begin || record.data < name + record.nameLength ||
      static_cast<size_t>(bounds->end - record.data) < record.dataLength ||
      !nuvra::IsSafeArchiveName(record.name, record.nameLength)) {
    std::abort();
  }
  // Touch the first and last content byte so the sanitizer sees any overrun.
  volatile uint8_t sink = 0;
  if (record.dataLength) sink = record.data[0] ^ record.data[record.dataLength - 1];
  (void)sink;
  return true;
}

void WalkChecked(const uint8_t* data, size_t size) {
  Bounds bounds = {data, data + size};
  nuvra::WalkArchive(data, size, CheckRecord, &bounds);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WalkChecked(data, size);

  // The declared size is allocated up front; keep it within what a fuzzing
  // run may allocate (the 32-bit installer reports a larger failure itself).
  nuvra::ContainerHeader header;
  if (!nuvra::ReadContainerHeader(data, size, &header) || header.unpackedSize > (1u << 24)) {
    return 0;
  }
  nuvra::DecodedArchive archive;
  nuvra::DecodeResult result = nuvra::DecodeContainer(data, size, &archive);
  if (result.produced > header.unpackedSize || archive.length() != result.produced) std::abort();
  WalkChecked(archive.data(), archive.length());
  return 0;
}
