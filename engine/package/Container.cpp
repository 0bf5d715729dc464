// Reading the container: 4-byte unpacked size, 5 properties bytes, then the
// raw LZMA stream, decoded in one call straight into the output buffer.
#include "engine/package/Package.h"

#include <cstring>

#include <lzma/LzmaDec.h>

#include "engine/package/ByteOrder.h"
#include "engine/package/LzmaAlloc.h"

namespace nuvra {

bool ReadContainerHeader(const uint8_t* data, size_t size, ContainerHeader* out) {
  if (data == nullptr || size < kContainerHeaderSize) return false;
  out->unpackedSize = ReadLe32(data);
  std::memcpy(out->props, data + 4, kLzmaPropsSize);
  return true;
}

namespace {

DecodeStatus StatusOf(SRes res, size_t produced, size_t wanted) {
  switch (res) {
    case SZ_OK:
      // With LZMA_FINISH_ANY the decoder stops once the output is full; an
      // end marker met earlier means the stream holds less than declared.
      return produced == wanted ? DecodeStatus::Ok : DecodeStatus::Truncated;
    case SZ_ERROR_INPUT_EOF: return DecodeStatus::Truncated;
    case SZ_ERROR_UNSUPPORTED: return DecodeStatus::BadProperties;
    case SZ_ERROR_MEM: return DecodeStatus::OutOfMemory;
    default: return DecodeStatus::DataError;
  }
}

}  // namespace

DecodeResult DecodeContainer(const uint8_t* data, size_t size, DecodedArchive* out) {
  DecodeResult result = {DecodeStatus::TooShort, 0, SZ_OK, LZMA_STATUS_NOT_SPECIFIED};
  ContainerHeader header;
  if (!ReadContainerHeader(data, size, &header)) return result;
  if (!out->Allocate(header.unpackedSize)) {
    result.status = DecodeStatus::OutOfMemory;
    result.sdkResult = SZ_ERROR_MEM;
    return result;
  }

  SizeT produced = header.unpackedSize;
  SizeT streamLength = size - kContainerHeaderSize;
  ELzmaStatus lzmaStatus = LZMA_STATUS_NOT_SPECIFIED;
  SRes res = LzmaDecode(out->buffer(), &produced, data + kContainerHeaderSize, &streamLength,
                        header.props, kLzmaPropsSize, LZMA_FINISH_ANY, &lzmaStatus,
                        HeapSzAlloc());
  out->SetLength(produced);
  result.status = StatusOf(res, produced, header.unpackedSize);
  result.produced = produced;
  result.sdkResult = res;
  result.lzmaStatus = lzmaStatus;
  return result;
}

const char* DecodeStatusText(DecodeStatus status) {
  switch (status) {
    case DecodeStatus::Ok: return "decoded";
    case DecodeStatus::TooShort: return "shorter than the 9-byte package header";
    case DecodeStatus::OutOfMemory: return "not enough memory for the declared unpacked size";
    case DecodeStatus::BadProperties: return "unsupported LZMA properties";
    case DecodeStatus::DataError: return "corrupt LZMA data";
    case DecodeStatus::Truncated: return "LZMA stream ends before the declared unpacked size";
  }
  return "unknown decode status";
}

}  // namespace nuvra
