// Walking the decoded archive: records back to back, no header, no count.
#include "engine/package/Package.h"

#include "engine/package/ByteOrder.h"

namespace nuvra {

WalkEnd WalkArchive(const uint8_t* archive, size_t length, RecordVisitor visit,
                    void* context, size_t* failedOffset) {
  size_t p = 0;
  // A record is read only while at least 9 bytes are left; a rest of 8 or
  // fewer is ignored.
  while (archive != nullptr && length - p > kRecordHeaderSize) {
    ArchiveRecord record;
    record.offset = p;
    record.nameLength = ReadLe16(archive + p);
    record.reserved = ReadLe16(archive + p + 2);
    record.dataLength = ReadLe32(archive + p + 4);

    // Checked against what is left, never by adding to p: no sum can wrap.
    size_t left = length - p - kRecordHeaderSize;
    if (record.nameLength > left || record.dataLength > left - record.nameLength) {
      if (failedOffset) *failedOffset = p;
      return WalkEnd::Overrun;
    }
    record.name = reinterpret_cast<const char*>(archive + p + kRecordHeaderSize);
    record.data = archive + p + kRecordHeaderSize + record.nameLength;
    if (!IsSafeArchiveName(record.name, record.nameLength)) {
      if (failedOffset) *failedOffset = p;
      return WalkEnd::BadName;
    }
    if (visit != nullptr && !visit(record, context)) {
      if (failedOffset) *failedOffset = p;
      return WalkEnd::Stopped;
    }
    p += kRecordHeaderSize + record.nameLength + record.dataLength;
  }
  return p == length ? WalkEnd::Clean : WalkEnd::StrayBytes;
}

const char* WalkEndText(WalkEnd end) {
  switch (end) {
    case WalkEnd::Clean: return "clean end";
    case WalkEnd::StrayBytes: return "stray bytes after the last record ignored";
    case WalkEnd::Overrun: return "a record runs past the end of the archive";
    case WalkEnd::BadName: return "a record's name could leave the install directory";
    case WalkEnd::Stopped: return "stopped by the reader";
  }
  return "unknown walk end";
}

}  // namespace nuvra
