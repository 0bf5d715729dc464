// The install package: a 9-byte container header (unpacked size, LZMA
// properties) in front of a raw LZMA stream whose decoded bytes are an
// archive of records (name length, reserved, content length, name, content).
// Portable code: built for the host (tool, tests, fuzzers) and for win32
// (the installer's extraction step).
#pragma once

#include <cstddef>
#include <cstdint>

namespace nuvra {

constexpr size_t kContainerHeaderSize = 9;   // 4-byte unpacked size + 5 properties bytes
constexpr size_t kLzmaPropsSize = 5;
constexpr size_t kRecordHeaderSize = 8;      // nameLength, reserved, dataLength
constexpr uint16_t kRecordReserved = 24;     // what a package writer puts in `reserved`
constexpr size_t kMaxArchiveNameBytes = 259; // a name is shorter than 260 bytes

struct ContainerHeader {
  uint32_t unpackedSize;
  uint8_t props[kLzmaPropsSize];
};

// Reads the header of a container of `size` bytes; false when it is shorter
// than 9 bytes.
bool ReadContainerHeader(const uint8_t* data, size_t size, ContainerHeader* out);

enum class DecodeStatus {
  Ok,             // produced == unpacked size
  TooShort,       // container shorter than 9 bytes
  OutOfMemory,    // the unpacked size could not be allocated
  BadProperties,  // the properties block is not one the decoder accepts
  DataError,      // the decoder met corrupt data
  Truncated,      // the stream ended before the unpacked size was produced
};

// The decoded archive: owns its bytes (malloc'd); `length` is the number of
// bytes the decoder produced.
class DecodedArchive {
 public:
  DecodedArchive() = default;
  ~DecodedArchive();
  DecodedArchive(const DecodedArchive&) = delete;
  DecodedArchive& operator=(const DecodedArchive&) = delete;
  DecodedArchive(DecodedArchive&& other) noexcept;
  DecodedArchive& operator=(DecodedArchive&& other) noexcept;

  const uint8_t* data() const { return data_; }
  size_t length() const { return length_; }

  // Used by DecodeContainer.
  bool Allocate(size_t capacity);
  uint8_t* buffer() { return data_; }
  void SetLength(size_t length) { length_ = length; }

 private:
  uint8_t* data_ = nullptr;
  size_t length_ = 0;
};

struct DecodeResult {
  DecodeStatus status;
  size_t produced;   // bytes the decoder wrote (also on failure)
  int sdkResult;     // the LZMA SDK's SRes
  int lzmaStatus;    // the LZMA SDK's ELzmaStatus
};

// Decodes a whole container with the LZMA SDK's one-call decoder in the
// mode that stops once the output is full (LZMA_FINISH_ANY).  `out` holds
// the produced bytes afterwards, also on Truncated/DataError.
DecodeResult DecodeContainer(const uint8_t* data, size_t size, DecodedArchive* out);
const char* DecodeStatusText(DecodeStatus status);

struct ArchiveRecord {
  const char* name;        // not terminated
  uint16_t nameLength;
  uint16_t reserved;
  const uint8_t* data;
  uint32_t dataLength;
  size_t offset;           // where the record starts in the archive
};

enum class WalkEnd {
  Clean,        // the last record ended exactly at the end
  StrayBytes,   // 1 to 8 bytes after the last record, ignored
  Overrun,      // a record's name or content runs past the end
  BadName,      // a name that could leave the install directory
  Stopped,      // the visitor asked to stop
};
const char* WalkEndText(WalkEnd end);
inline bool WalkSucceeded(WalkEnd end) { return end == WalkEnd::Clean || end == WalkEnd::StrayBytes; }

// Calls visit(record, context) for each record in archive order.  A record
// is read only while at least 9 bytes are left.  Every record is checked
// (bounds, then name) before it is handed out; the first bad one ends the
// walk.  `visit` returns false to stop.  `failed`, when not null, receives
// the offending record's offset.
using RecordVisitor = bool (*)(const ArchiveRecord& record, void* context);
WalkEnd WalkArchive(const uint8_t* archive, size_t length, RecordVisitor visit,
                    void* context, size_t* failedOffset = nullptr);

// True for a relative name that stays below the install directory: not
// empty, no leading separator, no ':' (drives, streams), no "." or ".."
// component, no empty component, no control characters, < 260 bytes.
// Both '\' and '/' count as separators.  Also refused, because Windows
// would not open a file of that name in the folder: a component made only
// of dots and spaces ("...", ".. ", which Windows trims to ".." or less) and
// a device name ("NUL", "con.txt", "COM1", "LPT9.log", "CONIN$").
bool IsSafeArchiveName(const char* name, size_t length);

}  // namespace nuvra
