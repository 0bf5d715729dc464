// package_bench PACKAGE [REPEATS]
// Decodes the package's LZMA stream with the LZMA SDK decoder (the one the
// installer uses) and with liblzma's raw decoder, and prints the speed of
// each and their ratio; then sets the package size next to xz -9 of the
// same archive.
#include <lzma.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/package/ByteOrder.h"
#include "engine/package/Package.h"
#include "tests/package/ReferenceLzma.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<uint8_t> ReadFile(const char* path) {
  std::vector<uint8_t> bytes;
  FILE* file = std::fopen(path, "rb");
  if (!file) return bytes;
  uint8_t buffer[1 << 16];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof(buffer), file)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
  std::fclose(file);
  return bytes;
}

// Best of `repeats` runs, in seconds: the least disturbed by other load.
template <typename Decode>
double BestSeconds(int repeats, Decode decode) {
  double best = 1e30;
  for (int i = 0; i < repeats; ++i) {
    auto start = Clock::now();
    if (!decode()) {
      std::fprintf(stderr, "package_bench: decoding failed\n");
      std::exit(2);
    }
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

size_t XzSize(const uint8_t* data, size_t size, uint32_t preset) {
  std::vector<uint8_t> out(lzma_stream_buffer_bound(size));
  size_t outPos = 0;
  if (lzma_easy_buffer_encode(preset, LZMA_CHECK_CRC64, nullptr, data, size, out.data(), &outPos,
                              out.size()) != LZMA_OK) {
    return 0;
  }
  return outPos;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: package_bench PACKAGE [REPEATS]\n");
    return 1;
  }
  int repeats = argc > 2 ? std::atoi(argv[2]) : 10;
  std::vector<uint8_t> package = ReadFile(argv[1]);
  nuvra::DecodedArchive archive;
  nuvra::DecodeResult first = nuvra::DecodeContainer(package.data(), package.size(), &archive);
  if (first.status != nuvra::DecodeStatus::Ok) {
    std::fprintf(stderr, "package_bench: %s: %s\n", argv[1], nuvra::DecodeStatusText(first.status));
    return 2;
  }
  const size_t unpacked = archive.length();
  const uint8_t* stream = package.data() + nuvra::kContainerHeaderSize;
  const size_t streamSize = package.size() - nuvra::kContainerHeaderSize;
  const uint32_t dictSize = nuvra::ReadLe32(package.data() + 5);

  std::vector<uint8_t> reference;
  if (!nuvra::test::ReferenceDecode(stream, streamSize, dictSize, unpacked, &reference) ||
      std::memcmp(reference.data(), archive.data(), unpacked) != 0) {
    std::fprintf(stderr, "package_bench: liblzma decodes %s differently\n", argv[1]);
    return 2;
  }

  double sdk = BestSeconds(repeats, [&] {
    nuvra::DecodedArchive out;
    return nuvra::DecodeContainer(package.data(), package.size(), &out).status ==
           nuvra::DecodeStatus::Ok;
  });
  double xz = BestSeconds(repeats, [&] {
    return nuvra::test::ReferenceDecode(stream, streamSize, dictSize, unpacked, &reference);
  });
  double sdkRate = unpacked / sdk / 1e6, xzRate = unpacked / xz / 1e6;
  std::printf("archive: %zu bytes unpacked, best of %d decodes each\n", unpacked, repeats);
  std::printf("LZMA SDK decoder (LzmaDecode):  %8.1f MB/s  (%.1f ms)\n", sdkRate, sdk * 1e3);
  std::printf("liblzma raw LZMA1 decoder:      %8.1f MB/s  (%.1f ms)\n", xzRate, xz * 1e3);
  std::printf("speed ratio SDK / liblzma:      %8.2f\n", sdkRate / xzRate);

  size_t xz9 = XzSize(archive.data(), unpacked, 9);
  size_t xz9e = XzSize(archive.data(), unpacked, 9 | LZMA_PRESET_EXTREME);
  std::printf("package:  %9zu bytes  (%.2f%% of the archive)\n", package.size(),
              100.0 * package.size() / unpacked);
  std::printf("xz -9:    %9zu bytes  (%.2f%% of the archive)\n", xz9, 100.0 * xz9 / unpacked);
  std::printf("xz -9e:   %9zu bytes  (%.2f%% of the archive)\n", xz9e, 100.0 * xz9e / unpacked);
  std::printf("size ratio package / xz -9:     %8.4f\n", static_cast<double>(package.size()) / xz9);
  return 0;
}
