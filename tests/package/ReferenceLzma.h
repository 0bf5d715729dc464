// liblzma's raw LZMA1 coder (xz-utils), an implementation independent of
// the LZMA SDK, used to cross-check packages in tests and the benchmark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace nuvra::test {

// Raw LZMA1 stream of `data` (lc 3, lp 0, pb 2, 16 MiB dictionary, preset
// 9); liblzma always ends it with an end marker.
bool ReferenceEncode(const std::vector<uint8_t>& data, std::vector<uint8_t>* stream);

// Decodes a raw LZMA1 stream with the properties byte 0x5D and `dictSize`
// until `out` holds `size` bytes.
bool ReferenceDecode(const uint8_t* stream, size_t streamSize, uint32_t dictSize, size_t size,
                     std::vector<uint8_t>* out);

}  // namespace nuvra::test
