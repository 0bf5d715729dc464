// The package library on its own: container decoding, the archive walk and
// the name rule, against archives made by the writer and encoder.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/package/Package.h"
#include "engine/package/PackageWriter.h"
#include "tests/package/RefusedNames.h"

namespace nuvra {
namespace {

struct Entry {
  std::string name;
  std::string content;
  uint16_t reserved = kRecordReserved;
};

std::vector<uint8_t> MakeArchive(const std::vector<Entry>& entries) {
  ArchiveWriter writer;
  for (const Entry& e : entries) {
    EXPECT_TRUE(writer.AddRecord(e.name.data(), e.name.size(),
                                 reinterpret_cast<const uint8_t*>(e.content.data()),
                                 e.content.size(), e.reserved));
  }
  return writer.Take();
}

std::vector<uint8_t> Encode(const std::vector<uint8_t>& archive, bool endMarker = false) {
  EncodeOptions options;
  options.endMarker = endMarker;
  std::vector<uint8_t> container;
  EXPECT_EQ(EncodeContainer(archive.data(), archive.size(), options, &container).status,
            EncodeStatus::Ok);
  return container;
}

// Text that compresses but is not trivial: the decoder has real work.
std::string SampleContent(size_t size, unsigned seed) {
  std::string text;
  uint32_t state = seed;
  while (text.size() < size) {
    state = state * 1103515245u + 12345u;
    text += "line " + std::to_string(state % 977) + " of the sample payload\n";
  }
  text.resize(size);
  return text;
}

const std::vector<Entry> kSampleTree = {
    {"NuvraBrowser.exe", SampleContent(150000, 1)},
    {"empty.txt", ""},
    {"plugins\\a.dll", SampleContent(3000, 2)},
    {"res\\skin\\default.css", SampleContent(700, 3)},
};

struct Collected {
  std::vector<Entry> entries;
  std::vector<size_t> offsets;
};

bool Collect(const ArchiveRecord& record, void* context) {
  auto* out = static_cast<Collected*>(context);
  out->entries.push_back({std::string(record.name, record.nameLength),
                          std::string(reinterpret_cast<const char*>(record.data),
                                      record.dataLength),
                          record.reserved});
  out->offsets.push_back(record.offset);
  return true;
}

WalkEnd Walk(const std::vector<uint8_t>& archive, Collected* out, size_t* failed = nullptr) {
  return WalkArchive(archive.data(), archive.size(), Collect, out, failed);
}

TEST(PackageContainer, RoundTripKeepsEveryRecordInOrder) {
  std::vector<uint8_t> archive = MakeArchive(kSampleTree);
  std::vector<uint8_t> container = Encode(archive);

  ContainerHeader header;
  ASSERT_TRUE(ReadContainerHeader(container.data(), container.size(), &header));
  EXPECT_EQ(header.unpackedSize, archive.size());
  const uint8_t kProps[] = {0x5D, 0x00, 0x00, 0x00, 0x01};  // lc 3 lp 0 pb 2, 16 MiB
  EXPECT_EQ(0, std::memcmp(header.props, kProps, sizeof(kProps)));

  DecodedArchive decoded;
  DecodeResult result = DecodeContainer(container.data(), container.size(), &decoded);
  ASSERT_EQ(result.status, DecodeStatus::Ok) << DecodeStatusText(result.status);
  ASSERT_EQ(result.produced, archive.size());
  ASSERT_EQ(0, std::memcmp(decoded.data(), archive.data(), archive.size()));

  Collected got;
  EXPECT_EQ(WalkArchive(decoded.data(), decoded.length(), Collect, &got), WalkEnd::Clean);
  ASSERT_EQ(got.entries.size(), kSampleTree.size());
  for (size_t i = 0; i < kSampleTree.size(); ++i) {
    EXPECT_EQ(got.entries[i].name, kSampleTree[i].name);
    EXPECT_EQ(got.entries[i].content, kSampleTree[i].content);
  }
}

TEST(PackageContainer, EndMarkerAndNoneDecodeToTheSameArchive) {
  std::vector<uint8_t> archive = MakeArchive(kSampleTree);
  std::vector<uint8_t> plain = Encode(archive, false);
  std::vector<uint8_t> marked = Encode(archive, true);
  EXPECT_GT(marked.size(), plain.size());
  for (const auto* container : {&plain, &marked}) {
    DecodedArchive decoded;
    ASSERT_EQ(DecodeContainer(container->data(), container->size(), &decoded).status,
              DecodeStatus::Ok);
    ASSERT_EQ(decoded.length(), archive.size());
    EXPECT_EQ(0, std::memcmp(decoded.data(), archive.data(), archive.size()));
  }
}

TEST(PackageContainer, EmptyArchiveDecodes) {
  std::vector<uint8_t> container = Encode({});
  DecodedArchive decoded;
  EXPECT_EQ(DecodeContainer(container.data(), container.size(), &decoded).status,
            DecodeStatus::Ok);
  EXPECT_EQ(decoded.length(), 0u);
}

TEST(PackageContainer, ShortOrDamagedContainersAreErrors) {
  std::vector<uint8_t> archive = MakeArchive(kSampleTree);
  std::vector<uint8_t> good = Encode(archive);
  for (size_t size = 0; size < kContainerHeaderSize; ++size) {
    DecodedArchive decoded;
    EXPECT_EQ(DecodeContainer(good.data(), size, &decoded).status, DecodeStatus::TooShort) << size;
  }
  std::vector<uint8_t> badProps = good;
  badProps[4] = 9 * 5 * 5;  // lc/lp/pb byte beyond the valid range
  DecodedArchive decoded;
  EXPECT_EQ(DecodeContainer(badProps.data(), badProps.size(), &decoded).status,
            DecodeStatus::BadProperties);
}

// A stream that ends early is reported, and what was produced is what the
// walk sees: it never reads past those bytes.
TEST(PackageContainer, TruncatedStreamIsReportedWithTheBytesProduced) {
  std::vector<uint8_t> archive = MakeArchive(kSampleTree);
  std::vector<uint8_t> container = Encode(archive);
  for (size_t cut : {kContainerHeaderSize, kContainerHeaderSize + 1, kContainerHeaderSize + 20,
                     container.size() / 2}) {
    std::vector<uint8_t> shortened(container.begin(), container.begin() + cut);
    DecodedArchive decoded;
    DecodeResult result = DecodeContainer(shortened.data(), shortened.size(), &decoded);
    EXPECT_EQ(result.status, DecodeStatus::Truncated) << "cut at " << cut;
    EXPECT_LT(result.produced, archive.size());
    EXPECT_EQ(decoded.length(), result.produced);
    EXPECT_EQ(0, std::memcmp(decoded.data(), archive.data(), result.produced));
    Collected got;
    WalkArchive(decoded.data(), decoded.length(), Collect, &got);
    size_t walked = 0;
    for (const Entry& e : got.entries) walked += kRecordHeaderSize + e.name.size() + e.content.size();
    EXPECT_LE(walked, result.produced) << "cut at " << cut;
  }
}

// The header promises more than the stream holds: with or without an end
// marker the decoder stops early, and that is reported, not taken as sound.
TEST(PackageContainer, DeclaredSizeBeyondTheStreamIsTruncated) {
  std::vector<uint8_t> archive = MakeArchive(kSampleTree);
  for (bool endMarker : {false, true}) {
    std::vector<uint8_t> container = Encode(archive, endMarker);
    uint32_t declared = static_cast<uint32_t>(archive.size() + 100);
    std::memcpy(container.data(), &declared, 4);  // little-endian host
    DecodedArchive decoded;
    DecodeResult result = DecodeContainer(container.data(), container.size(), &decoded);
    EXPECT_EQ(result.status, DecodeStatus::Truncated) << "end marker " << endMarker;
    EXPECT_EQ(result.produced, archive.size());
  }
}

TEST(ArchiveWalk, OneToEightStrayBytesAreIgnored) {
  std::vector<uint8_t> archive = MakeArchive(kSampleTree);
  for (size_t stray = 0; stray <= 8; ++stray) {
    std::vector<uint8_t> padded = archive;
    padded.insert(padded.end(), stray, 0xFF);  // would read as huge lengths
    Collected got;
    WalkEnd end = Walk(padded, &got);
    EXPECT_EQ(end, stray ? WalkEnd::StrayBytes : WalkEnd::Clean) << stray;
    EXPECT_TRUE(WalkSucceeded(end));
    EXPECT_EQ(got.entries.size(), kSampleTree.size()) << stray;
  }
}

TEST(ArchiveWalk, ArchiveOfEightBytesOrFewerYieldsNoFile) {
  // A record header for a one-byte name "a" with no content, minus the name.
  const std::vector<uint8_t> header = {1, 0, 24, 0, 0, 0, 0, 0};
  for (size_t size = 0; size <= header.size(); ++size) {
    std::vector<uint8_t> archive(header.begin(), header.begin() + size);
    Collected got;
    EXPECT_TRUE(WalkSucceeded(Walk(archive, &got)));
    EXPECT_TRUE(got.entries.empty()) << size;
  }
}

TEST(ArchiveWalk, ReservedFieldIsNotInterpreted) {
  std::vector<Entry> entries = {{"a.txt", "one", 0}, {"b.txt", "two", 0xFFFF}, {"c.txt", "", 24}};
  Collected got;
  EXPECT_EQ(Walk(MakeArchive(entries), &got), WalkEnd::Clean);
  ASSERT_EQ(got.entries.size(), 3u);
  EXPECT_EQ(got.entries[1].content, "two");
  EXPECT_EQ(got.entries[1].reserved, 0xFFFF);
  EXPECT_EQ(got.entries[2].content, "");
}

TEST(ArchiveWalk, DuplicateNamesAreHandedOutInArchiveOrder) {
  Collected got;
  Walk(MakeArchive({{"a.txt", "old"}, {"b.txt", "b"}, {"a.txt", "new"}}), &got);
  ASSERT_EQ(got.entries.size(), 3u);
  EXPECT_EQ(got.entries[0].content, "old");
  EXPECT_EQ(got.entries[2].content, "new");
}

// A record whose name or content runs past the end stops the walk at that
// record; the ones before it were handed out, nothing after.
TEST(ArchiveWalk, RecordRunningPastTheEndIsAnOverrun) {
  struct Case {
    const char* what;
    uint16_t nameLength;
    uint32_t dataLength;
    size_t bytesPresent;  // after the record header
  };
  const Case cases[] = {
      {"name past the end", 20, 0, 5},
      {"content past the end", 5, 100, 5 + 99},
      {"content length near 4 GiB", 5, 0xFFFFFFFFu, 5 + 10},
      {"name length 65535", 0xFFFF, 0, 40},
  };
  std::vector<uint8_t> good = MakeArchive({{"first.txt", "ok"}});
  for (const Case& c : cases) {
    std::vector<uint8_t> archive = good;
    uint8_t header[8] = {static_cast<uint8_t>(c.nameLength), static_cast<uint8_t>(c.nameLength >> 8),
                         24, 0};
    std::memcpy(header + 4, &c.dataLength, 4);
    archive.insert(archive.end(), header, header + 8);
    archive.insert(archive.end(), c.bytesPresent, 'x');
    Collected got;
    size_t failed = 0;
    EXPECT_EQ(Walk(archive, &got, &failed), WalkEnd::Overrun) << c.what;
    EXPECT_EQ(failed, good.size()) << c.what;
    EXPECT_EQ(got.entries.size(), 1u) << c.what;
  }
}

TEST(ArchiveWalk, RefusedNamesStopTheWalk) {
  for (const std::string& name : test::RefusedArchiveNames()) {
    std::vector<uint8_t> archive = MakeArchive({{"first.txt", "ok"}, {name, "evil"}, {"last", ""}});
    Collected got;
    size_t failed = 0;
    EXPECT_EQ(Walk(archive, &got, &failed), WalkEnd::BadName) << "name: " << name;
    EXPECT_EQ(got.entries.size(), 1u) << "name: " << name;
    EXPECT_EQ(failed, 8u + 9u + 2u) << "name: " << name;
  }
}

TEST(ArchiveWalk, VisitorCanStopTheWalk) {
  auto stopAtSecond = [](const ArchiveRecord& record, void*) { return record.offset == 0; };
  std::vector<uint8_t> archive = MakeArchive(kSampleTree);
  size_t failed = 0;
  EXPECT_EQ(WalkArchive(archive.data(), archive.size(), stopAtSecond, nullptr, &failed),
            WalkEnd::Stopped);
  EXPECT_GT(failed, 0u);
}

TEST(ArchiveName, AcceptsPlainRelativeNames) {
  const std::string accepted[] = {
      "a", "NuvraBrowser.exe", "res\\skin\\default.css", "plugins/a.dll", ".hidden",
      "a..b", "name.", "CONSOLE.txt", "COM10", "nul2.txt", "con_fig", std::string(259, 'a'),
      std::string(100, 'b') + "\\" + std::string(158, 'c'),
  };
  for (const std::string& name : accepted) {
    EXPECT_TRUE(IsSafeArchiveName(name.data(), name.size())) << name;
  }
  for (const std::string& name : test::RefusedArchiveNames()) {
    EXPECT_FALSE(IsSafeArchiveName(name.data(), name.size())) << name;
  }
  EXPECT_FALSE(IsSafeArchiveName(nullptr, 3));
}

TEST(ArchiveWriter, RefusesFieldsThatCannotHoldTheValue) {
  ArchiveWriter writer;
  std::string longName(65536, 'a');
  EXPECT_FALSE(writer.AddRecord(longName.data(), longName.size(), nullptr, 0));
  EXPECT_TRUE(writer.bytes().empty());
}

}  // namespace
}  // namespace nuvra
