// Compressing an archive into a container with the LZMA SDK's one-call
// encoder.
#include <lzma/LzmaEnc.h>

#include <cstdint>
#include <new>

#include "engine/package/ByteOrder.h"
#include "engine/package/LzmaAlloc.h"
#include "engine/package/PackageWriter.h"

namespace nuvra {
namespace {

// The SDK calls back through a plain C struct; the context rides behind it.
struct ProgressBridge {
  ICompressProgress vtable;
  const EncodeOptions* options;
  uint64_t total;
};

SRes OnProgress(void* p, UInt64 inSize, UInt64 /*outSize*/) {
  auto* bridge = static_cast<ProgressBridge*>(p);
  if (inSize == static_cast<UInt64>(-1)) return SZ_OK;
  bool goOn = bridge->options->progress(inSize, bridge->total, bridge->options->progressContext);
  return goOn ? SZ_OK : SZ_ERROR_PROGRESS;
}

// The strongest settings the SDK offers, with the shipped packages' lc, lp,
// pb and dictionary.  reduceSize stays "unknown" so that the properties
// always name the 16 MiB dictionary, whatever the archive size.
CLzmaEncProps StrongestProps(bool endMarker) {
  CLzmaEncProps props;
  LzmaEncProps_Init(&props);
  props.level = 9;
  props.dictSize = kPackageDictionarySize;
  props.lc = 3;
  props.lp = 0;
  props.pb = 2;
  props.algo = 1;
  props.fb = 273;
  props.btMode = 1;
  props.numHashBytes = 4;
  props.writeEndMark = endMarker ? 1 : 0;
  props.numThreads = 1;
  return props;
}

EncodeStatus StatusOf(SRes res) {
  switch (res) {
    case SZ_OK: return EncodeStatus::Ok;
    case SZ_ERROR_MEM: return EncodeStatus::OutOfMemory;
    case SZ_ERROR_PROGRESS: return EncodeStatus::Cancelled;
    default: return EncodeStatus::Failed;
  }
}

}  // namespace

EncodeResult EncodeContainer(const uint8_t* archive, size_t length, const EncodeOptions& options,
                             std::vector<uint8_t>* container) {
  if (uint64_t{length} > UINT32_MAX) return {EncodeStatus::TooLarge, SZ_ERROR_PARAM};
  // Incompressible input grows by a little over 1/64; leave ample room,
  // without letting the sum wrap in a 32-bit process.
  uint64_t room = uint64_t{length} + length / 8 + 4096;
  if (room > SIZE_MAX - kContainerHeaderSize) return {EncodeStatus::OutOfMemory, SZ_ERROR_MEM};
  size_t capacity = static_cast<size_t>(room);
  try {
    container->assign(kContainerHeaderSize + capacity, 0);
  } catch (const std::bad_alloc&) {
    return {EncodeStatus::OutOfMemory, SZ_ERROR_MEM};
  }

  CLzmaEncProps props = StrongestProps(options.endMarker);
  ProgressBridge bridge = {{OnProgress}, &options, length};
  SizeT streamLength = capacity;
  SizeT propsSize = kLzmaPropsSize;
  SRes res = LzmaEncode(container->data() + kContainerHeaderSize, &streamLength, archive, length,
                        &props, container->data() + 4, &propsSize, static_cast<int>(props.writeEndMark),
                        options.progress ? &bridge.vtable : nullptr, HeapSzAlloc(),
                        HeapSzAlloc());
  if (res != SZ_OK) {
    container->clear();
    return {StatusOf(res), res};
  }
  WriteLe32(container->data(), static_cast<uint32_t>(length));
  container->resize(kContainerHeaderSize + streamLength);
  return {EncodeStatus::Ok, SZ_OK};
}

const char* EncodeStatusText(EncodeStatus status) {
  switch (status) {
    case EncodeStatus::Ok: return "encoded";
    case EncodeStatus::TooLarge: return "archive of 4 GiB or more";
    case EncodeStatus::OutOfMemory: return "not enough memory to compress";
    case EncodeStatus::Cancelled: return "cancelled";
    case EncodeStatus::Failed: return "LZMA encoder error";
  }
  return "unknown encode status";
}

}  // namespace nuvra
