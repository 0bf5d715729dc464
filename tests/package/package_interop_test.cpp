// Packages against an independent LZMA implementation (liblzma): a stream
// from liblzma's raw LZMA1 encoder decodes through our container reader,
// and our encoder's stream decodes through liblzma, to the same archive.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/package/ByteOrder.h"
#include "engine/package/Package.h"
#include "engine/package/PackageWriter.h"
#include "tests/package/ReferenceLzma.h"

namespace nuvra {
namespace {

std::vector<uint8_t> SampleArchive() {
  ArchiveWriter writer;
  std::string text;
  for (int i = 0; text.size() < 300000; ++i) text += "record " + std::to_string(i * 7919 % 1000) + "\n";
  const std::pair<std::string, std::string> files[] = {
      {"NuvraBrowser.exe", text}, {"empty.txt", ""}, {"res\\skin\\a.css", text.substr(0, 999)}};
  for (const auto& [name, content] : files) {
    writer.AddRecord(name.data(), name.size(), reinterpret_cast<const uint8_t*>(content.data()),
                     content.size());
  }
  return writer.Take();
}

TEST(PackageInterop, LiblzmaStreamDecodesThroughTheContainerReader) {
  std::vector<uint8_t> archive = SampleArchive();
  std::vector<uint8_t> stream;
  ASSERT_TRUE(test::ReferenceEncode(archive, &stream));

  std::vector<uint8_t> container(kContainerHeaderSize);
  WriteLe32(container.data(), static_cast<uint32_t>(archive.size()));
  container[4] = kPackagePropsByte;
  WriteLe32(container.data() + 5, kPackageDictionarySize);
  container.insert(container.end(), stream.begin(), stream.end());

  DecodedArchive decoded;
  DecodeResult result = DecodeContainer(container.data(), container.size(), &decoded);
  ASSERT_EQ(result.status, DecodeStatus::Ok) << DecodeStatusText(result.status);
  EXPECT_EQ(std::vector<uint8_t>(decoded.data(), decoded.data() + decoded.length()), archive);
}

TEST(PackageInterop, OurStreamDecodesThroughLiblzma) {
  std::vector<uint8_t> archive = SampleArchive();
  std::vector<uint8_t> container;
  ASSERT_EQ(EncodeContainer(archive.data(), archive.size(), EncodeOptions(), &container).status,
            EncodeStatus::Ok);
  std::vector<uint8_t> decoded;
  ASSERT_TRUE(test::ReferenceDecode(container.data() + kContainerHeaderSize,
                                    container.size() - kContainerHeaderSize,
                                    ReadLe32(container.data() + 5), archive.size(), &decoded));
  EXPECT_EQ(decoded, archive);
}

}  // namespace
}  // namespace nuvra
