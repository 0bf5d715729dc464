#include "tests/package/ReferenceLzma.h"

#include <lzma.h>

namespace nuvra::test {
namespace {

// The package's properties: lc 3, lp 0, pb 2.
lzma_options_lzma PackageOptions(uint32_t dictSize) {
  lzma_options_lzma options;
  lzma_lzma_preset(&options, 9);
  options.lc = 3;
  options.lp = 0;
  options.pb = 2;
  options.dict_size = dictSize;
  return options;
}

// Runs `stream` over all input until it ends or `out` is full.
bool RunCoder(lzma_stream* stream, const uint8_t* in, size_t inSize, std::vector<uint8_t>* out,
              bool growOutput) {
  stream->next_in = in;
  stream->avail_in = inSize;
  size_t produced = 0;
  for (;;) {
    if (growOutput && produced == out->size()) out->resize(out->size() * 2 + 4096);
    stream->next_out = out->data() + produced;
    stream->avail_out = out->size() - produced;
    lzma_ret ret = lzma_code(stream, growOutput ? LZMA_FINISH : LZMA_RUN);
    produced = out->size() - stream->avail_out;
    if (ret == LZMA_STREAM_END || (!growOutput && produced == out->size())) break;
    if (ret != LZMA_OK) return false;
  }
  out->resize(produced);
  return true;
}

}  // namespace

bool ReferenceEncode(const std::vector<uint8_t>& data, std::vector<uint8_t>* stream) {
  lzma_options_lzma options = PackageOptions(1u << 24);
  lzma_filter filters[] = {{LZMA_FILTER_LZMA1, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
  lzma_stream coder = LZMA_STREAM_INIT;
  if (lzma_raw_encoder(&coder, filters) != LZMA_OK) return false;
  stream->clear();
  bool ok = RunCoder(&coder, data.data(), data.size(), stream, true);
  lzma_end(&coder);
  return ok;
}

bool ReferenceDecode(const uint8_t* stream, size_t streamSize, uint32_t dictSize, size_t size,
                     std::vector<uint8_t>* out) {
  lzma_options_lzma options = PackageOptions(dictSize);
  lzma_filter filters[] = {{LZMA_FILTER_LZMA1, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
  lzma_stream coder = LZMA_STREAM_INIT;
  if (lzma_raw_decoder(&coder, filters) != LZMA_OK) return false;
  out->assign(size, 0);
  bool ok = RunCoder(&coder, stream, streamSize, out, false) && out->size() == size;
  lzma_end(&coder);
  return ok;
}

}  // namespace nuvra::test
