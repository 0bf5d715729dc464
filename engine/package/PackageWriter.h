// Building install packages: the archive writer (records back to back,
// `reserved` = 24) and the encoder that compresses an archive into a
// container (unpacked size, LZMA properties, raw stream without end marker).
// Used by the package tool and by tests; the installer only reads packages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/package/Package.h"

namespace nuvra {

class ArchiveWriter {
 public:
  // Appends one record.  False, with nothing appended, when a field cannot
  // hold the value: a name of 65,536 bytes or more, or an archive that would
  // reach 4 GiB (the container's unpacked size is 32 bits).  Names are
  // stored as given; callers check them with IsSafeArchiveName.
  bool AddRecord(const char* name, size_t nameLength, const uint8_t* data, size_t dataLength,
                 uint16_t reserved = kRecordReserved);

  const std::vector<uint8_t>& bytes() const { return bytes_; }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

// Settings of the shipped packages: lc 3, lp 0, pb 2, 16 MiB dictionary.
constexpr uint32_t kPackageDictionarySize = 1u << 24;
constexpr uint8_t kPackagePropsByte = 0x5D;  // (pb * 5 + lp) * 9 + lc

enum class EncodeStatus {
  Ok,
  TooLarge,     // the archive is 4 GiB or more
  OutOfMemory,
  Cancelled,    // the progress callback asked to stop
  Failed,       // any other encoder error
};
const char* EncodeStatusText(EncodeStatus status);

// Called now and then with the archive bytes consumed so far; return false
// to cancel.
using EncodeProgress = bool (*)(uint64_t done, uint64_t total, void* context);

struct EncodeOptions {
  bool endMarker = false;  // packages carry none; tests write one
  EncodeProgress progress = nullptr;
  void* progressContext = nullptr;
};

struct EncodeResult {
  EncodeStatus status;
  int sdkResult;  // the LZMA SDK's SRes
};

// Compresses `archive` with the LZMA SDK encoder at its strongest settings
// and replaces `container` with the whole container.  Single-threaded, so
// the same archive always gives the same bytes.
EncodeResult EncodeContainer(const uint8_t* archive, size_t length, const EncodeOptions& options,
                             std::vector<uint8_t>* container);

}  // namespace nuvra
