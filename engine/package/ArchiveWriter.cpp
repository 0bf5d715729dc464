#include "engine/package/PackageWriter.h"

#include "engine/package/ByteOrder.h"

namespace nuvra {

bool ArchiveWriter::AddRecord(const char* name, size_t nameLength, const uint8_t* data,
                              size_t dataLength, uint16_t reserved) {
  constexpr uint64_t kArchiveLimit = UINT32_MAX;
  if (nameLength > UINT16_MAX) return false;
  uint64_t recordSize = uint64_t{kRecordHeaderSize} + nameLength + dataLength;
  if (dataLength > kArchiveLimit || recordSize > kArchiveLimit - bytes_.size()) return false;

  uint8_t header[kRecordHeaderSize];
  WriteLe16(header, static_cast<uint16_t>(nameLength));
  WriteLe16(header + 2, reserved);
  WriteLe32(header + 4, static_cast<uint32_t>(dataLength));
  bytes_.insert(bytes_.end(), header, header + sizeof(header));
  bytes_.insert(bytes_.end(), name, name + nameLength);
  if (dataLength) bytes_.insert(bytes_.end(), data, data + dataLength);
  return true;
}

}  // namespace nuvra
