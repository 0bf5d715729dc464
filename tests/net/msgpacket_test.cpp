// MsgPacket: wire bytes, read/write position rules and the buffer bounds.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "net/MsgPacket.h"

namespace {

const unsigned int kCap = MsgPacket::kCapacity;

std::vector<unsigned char> Written(const MsgPacket& p) {
  return std::vector<unsigned char>(p.m_data, p.m_data + p.m_length);
}

// A heap packet (40 KB is too much for some test stacks) positioned for a
// read of everything written so far.
std::unique_ptr<MsgPacket> Rewound(std::function<void(MsgPacket&)> fill) {
  std::unique_ptr<MsgPacket> p(new MsgPacket);
  fill(*p);
  p->m_position = 0;
  return p;
}

TEST(MsgPacketWrite, EncodesBigEndian) {
  struct Case {
    const char* name;
    std::function<void(MsgPacket&)> write;
    std::vector<unsigned char> bytes;
  };
  const Case cases[] = {
      {"short", [](MsgPacket& p) { p.writeShort(0x1234); }, {0x12, 0x34}},
      {"negative short", [](MsgPacket& p) { p.writeShort(-2); }, {0xFF, 0xFE}},
      {"int", [](MsgPacket& p) { p.writeInt(-2); }, {0xFF, 0xFF, 0xFF, 0xFE}},
      {"uint", [](MsgPacket& p) { p.writeUint(0xA1B2C3D4u); }, {0xA1, 0xB2, 0xC3, 0xD4}},
      {"int64", [](MsgPacket& p) { p.writeInt64(0x0102030405060708LL); },
       {1, 2, 3, 4, 5, 6, 7, 8}},
      {"byte and booleans",
       [](MsgPacket& p) { p.writeByte(0x80); p.writeBoolean(true); p.writeBoolean(false); },
       {0x80, 1, 0}},
      {"zero-terminated string", [](MsgPacket& p) { p.writeString("abc"); },
       {0, 3, 'a', 'b', 'c'}},
      {"counted string keeps zeros", [](MsgPacket& p) { p.writeString("a\0b", 3); },
       {0, 3, 'a', 0, 'b'}},
      {"std::string", [](MsgPacket& p) { p.writeString(std::string("x\0y", 3)); },
       {0, 3, 'x', 0, 'y'}},
      {"raw bytes", [](MsgPacket& p) { p.writeBytes("\x01\x00\x02", 3); }, {1, 0, 2}},
  };
  for (const Case& c : cases) {
    std::unique_ptr<MsgPacket> p(new MsgPacket);
    c.write(*p);
    EXPECT_EQ(Written(*p), c.bytes) << c.name;
    EXPECT_EQ(p->m_position, p->m_length) << c.name;
  }
}

TEST(MsgPacketWrite, WriteAfterReadsStoresAtReadPositionAndGrowsLength) {
  std::unique_ptr<MsgPacket> p(new MsgPacket);
  p->writeUint(0x11223344);
  p->m_position = 1;
  p->writeByte(0xEE);
  EXPECT_EQ(Written(*p), (std::vector<unsigned char>{0x11, 0xEE, 0x33, 0x44, 0}));
  EXPECT_EQ(p->m_position, 2);
}

TEST(MsgPacketWrite, CountersWrapAt16Bits) {
  std::unique_ptr<MsgPacket> p(new MsgPacket);
  p->m_length = 65535;
  p->writeShort(0x0102);
  EXPECT_EQ(p->m_length, 1);
  EXPECT_EQ(p->m_position, 2);
}

TEST(MsgPacketRead, StringNeedsRewindAndKeepsBuffer) {
  std::unique_ptr<MsgPacket> p(new MsgPacket);
  p->writeString("abc");
  EXPECT_EQ(p->m_length, 5);
  EXPECT_EQ(p->readString(), "");
  EXPECT_EQ(p->m_position, 5);
  EXPECT_EQ(p->m_stringBuffer, nullptr);

  p->m_position = 0;
  EXPECT_EQ(p->readString(), "abc");
  EXPECT_EQ(p->m_position, 5);
  ASSERT_NE(p->m_stringBuffer, nullptr);
  EXPECT_EQ(std::memcmp(p->m_stringBuffer, "abc", 4), 0);
}

TEST(MsgPacketRead, StringCutAtZeroButPositionSkipsAllCountedBytes) {
  auto p = Rewound([](MsgPacket& q) { q.writeString("ab\0cd", 5); q.writeByte(7); });
  EXPECT_EQ(p->readString(), "ab");
  EXPECT_EQ(p->m_position, 7);
  EXPECT_EQ(std::memcmp(p->m_stringBuffer, "ab\0cd", 6), 0);
  EXPECT_EQ(p->readByte(), 7);
}

TEST(MsgPacketRead, NumbersRoundTrip) {
  auto p = Rewound([](MsgPacket& q) {
    q.writeShort(-3);
    q.writeInt(-70000);
    q.writeUint(0xFEDCBA98u);
    q.writeInt64(-5);
    q.writeBoolean(true);
    q.writeByte(0xFF);
  });
  EXPECT_EQ(p->readShort(), -3);
  EXPECT_EQ(p->readInt(), -70000);
  EXPECT_EQ(p->readUint(), 0xFEDCBA98u);
  EXPECT_EQ(p->readInt64(), -5);
  EXPECT_TRUE(p->readBoolean());
  EXPECT_EQ(p->readUbyte(), 0xFF);
  EXPECT_EQ(p->m_position, p->m_length);
}

TEST(MsgPacketRead, OneValidByteIsEnoughForAFullWidthRead) {
  auto p = Rewound([](MsgPacket& q) { q.writeByte(0xAB); });
  EXPECT_EQ(p->readUint(), 0xAB000000u);
  EXPECT_EQ(p->m_position, 4);
  EXPECT_EQ(p->readUbyte(), 0);
  EXPECT_EQ(p->readInt64(), 0);
  EXPECT_EQ(p->readString(), "");
  EXPECT_EQ(p->m_position, 4);
}

TEST(MsgPacketRead, Int64WithFourBytesLeftFillsHighHalfOnly) {
  auto p = Rewound([](MsgPacket& q) { q.writeUint(0x11223344); });
  EXPECT_EQ(p->readInt64(), 0x1122334400000000LL);
  EXPECT_EQ(p->m_position, 4);
}

TEST(MsgPacketRead, NewPacketReadsNothing) {
  std::unique_ptr<MsgPacket> p(new MsgPacket);
  EXPECT_EQ(p->readUbyte(), 0);
  EXPECT_EQ(p->readByte(), 0);
  EXPECT_FALSE(p->readBoolean());
  EXPECT_EQ(p->readShort(), 0);
  EXPECT_EQ(p->readUshort(), 0);
  EXPECT_EQ(p->readInt(), 0);
  EXPECT_EQ(p->readUint(), 0u);
  EXPECT_EQ(p->readInt64(), 0);
  EXPECT_EQ(p->readString(), "");
  int count = -1;
  char out[4] = {'x', 'x', 'x', 'x'};
  p->readChar(&count, out);
  EXPECT_EQ(count, -1);
  EXPECT_EQ(out[0], 'x');
  std::unique_ptr<MsgPacket> dest(new MsgPacket);
  dest->m_data[0] = 9;
  p->readBytes(dest.get(), 0, 4);
  EXPECT_EQ(dest->m_data[0], 9);
  EXPECT_EQ(p->m_position, 0);
}

TEST(MsgPacketRead, ReadCharCopiesStringAndFollowingByte) {
  auto p = Rewound([](MsgPacket& q) { q.writeString("abc"); q.writeByte('!'); });
  int count = 0;
  char out[5] = {};
  p->readChar(&count, out);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(std::string(out, 4), "abc!");
  EXPECT_EQ(p->m_position, 5);
}

TEST(MsgPacketRead, ReadBytesCopiesIntoOtherPacketAtOffset) {
  auto p = Rewound([](MsgPacket& q) { q.writeUint(0x01020304); });
  std::unique_ptr<MsgPacket> dest(new MsgPacket);
  dest->m_length = 3;
  dest->m_position = 2;
  p->m_position = 1;
  p->readBytes(dest.get(), 10, 3);
  EXPECT_EQ(std::vector<unsigned char>(dest->m_data + 10, dest->m_data + 13),
            (std::vector<unsigned char>{2, 3, 4}));
  EXPECT_EQ(dest->m_length, 3);
  EXPECT_EQ(dest->m_position, 2);
  EXPECT_EQ(p->m_position, 4);
}

TEST(MsgPacketWriteBytes, RefusedWhenPositionPlusCountReachesCapacity) {
  std::vector<char> bytes(kCap, 'z');
  struct Case {
    unsigned short position;
    unsigned int count;
    bool accepted;
  };
  const Case cases[] = {{0, kCap, false}, {0, kCap - 1, true},   {40960, 8, false},
                        {40960, 7, true}, {65535, 1, false},     {100, 0xFFFFFFFFu, false}};
  for (const Case& c : cases) {
    std::unique_ptr<MsgPacket> p(new MsgPacket);
    p->m_position = c.position;
    p->writeBytes(bytes.data(), c.count);
    EXPECT_EQ(p->m_length, c.accepted ? c.count : 0u) << c.position << "+" << c.count;
  }

  std::unique_ptr<MsgPacket> source(new MsgPacket);
  source->writeBytes(bytes.data(), 8);
  std::unique_ptr<MsgPacket> p(new MsgPacket);
  p->m_position = 40960;
  p->writeBytes(source.get());
  EXPECT_EQ(p->m_length, 0);
  p->m_position = 40959;
  p->writeBytes(source.get());
  EXPECT_EQ(p->m_length, 8);
  EXPECT_EQ(p->m_data[40966], 'z');
}

TEST(MsgPacketWriteBytes, PacketCopiesFromStartWhateverItsPosition) {
  auto source = Rewound([](MsgPacket& q) { q.writeShort(0x0A0B); });
  source->readShort();
  std::unique_ptr<MsgPacket> p(new MsgPacket);
  p->writeByte(1);
  p->writeBytes(source.get());
  p->writeBytes(p.get());  // appending a packet to itself
  EXPECT_EQ(Written(*p), (std::vector<unsigned char>{1, 0x0A, 0x0B, 1, 0x0A, 0x0B}));
}

TEST(MsgPacketCopy, CopiesAllDataIncludingZerosButNoStringBuffer) {
  std::unique_ptr<MsgPacket> source(new MsgPacket);
  source->writeUint(0);
  source->writeString("k");
  source->m_data[kCap - 1] = 42;  // past m_length: copied too
  source->m_position = 4;
  source->readString();
  ASSERT_NE(source->m_stringBuffer, nullptr);

  std::unique_ptr<MsgPacket> copy(new MsgPacket(*source));
  std::unique_ptr<MsgPacket> assigned(new MsgPacket);
  assigned->writeString("own");
  assigned->m_position = 0;
  assigned->readString();
  char* ownBuffer = assigned->m_stringBuffer;
  *assigned = *source;

  for (MsgPacket* p : {copy.get(), assigned.get()}) {
    EXPECT_EQ(p->m_length, source->m_length);
    EXPECT_EQ(p->m_position, source->m_position);
    EXPECT_EQ(std::memcmp(p->m_data, source->m_data, kCap), 0);
  }
  EXPECT_EQ(copy->m_stringBuffer, nullptr);
  EXPECT_EQ(assigned->m_stringBuffer, ownBuffer);
}

// No write may go past the buffer: a write that does not fit is refused as
// a whole and changes nothing.
TEST(MsgPacketBounds, WritesThatDoNotFitAreRefused) {
  struct Case {
    const char* name;
    unsigned short position;
    std::function<void(MsgPacket&)> write;
    unsigned short grows;  // 0 when refused
  };
  const Case cases[] = {
      {"byte in last slot", kCap - 1, [](MsgPacket& p) { p.writeByte(1); }, 1},
      {"byte past end", kCap, [](MsgPacket& p) { p.writeByte(1); }, 0},
      {"short at last slot", kCap - 1, [](MsgPacket& p) { p.writeShort(1); }, 0},
      {"short in last two", kCap - 2, [](MsgPacket& p) { p.writeShort(1); }, 2},
      {"int straddling end", kCap - 3, [](MsgPacket& p) { p.writeInt(1); }, 0},
      {"int64 in last eight", kCap - 8, [](MsgPacket& p) { p.writeInt64(1); }, 8},
      {"int64 straddling end", kCap - 7, [](MsgPacket& p) { p.writeInt64(1); }, 0},
      {"string ending at end", kCap - 5, [](MsgPacket& p) { p.writeString("abc"); }, 5},
      {"string body past end", kCap - 4, [](MsgPacket& p) { p.writeString("abc"); }, 0},
      {"position set past buffer", 65535, [](MsgPacket& p) { p.writeUint(1); }, 0},
      {"null text", 0, [](MsgPacket& p) { p.writeString(static_cast<const char*>(nullptr)); }, 0},
  };
  for (const Case& c : cases) {
    std::unique_ptr<MsgPacket> p(new MsgPacket);
    p->m_position = c.position;
    c.write(*p);
    EXPECT_EQ(p->m_length, c.grows) << c.name;
    EXPECT_EQ(p->m_position, static_cast<unsigned short>(c.position + c.grows)) << c.name;
  }
}

// No read may go past the buffer, whatever m_length and m_position say.
TEST(MsgPacketBounds, ReadsThatDoNotFitReadNothing) {
  std::unique_ptr<MsgPacket> p(new MsgPacket);
  p->m_length = 65535;
  std::memset(p->m_data + kCap - 8, 0x7F, 8);

  p->m_position = kCap - 1;
  EXPECT_EQ(p->readUbyte(), 0x7F);
  EXPECT_EQ(p->m_position, kCap);
  EXPECT_EQ(p->readUbyte(), 0);
  EXPECT_EQ(p->m_position, kCap);

  p->m_position = kCap - 1;
  EXPECT_EQ(p->readShort(), 0);
  EXPECT_EQ(p->m_position, kCap - 1);

  p->m_position = kCap - 4;  // high half fits, low half would not
  EXPECT_EQ(p->readInt64(), 0x7F7F7F7F00000000LL);
  EXPECT_EQ(p->m_position, kCap);
}

TEST(MsgPacketBounds, CorruptStringCountIsRefusedWhole) {
  std::unique_ptr<MsgPacket> p(new MsgPacket);
  p->m_length = 65535;
  p->m_position = kCap - 10;
  p->m_data[kCap - 10] = 0x00;
  p->m_data[kCap - 9] = 0x09;  // 9 bytes after the count: one too many

  EXPECT_EQ(p->readString(), "");
  EXPECT_EQ(p->m_stringBuffer, nullptr);
  int count = -1;
  std::vector<char> out(kCap, 'x');
  p->readChar(&count, out.data());
  EXPECT_EQ(count, -1);
  EXPECT_EQ(out[0], 'x');
  EXPECT_EQ(p->m_position, kCap - 10);

  // Eight bytes end exactly at the buffer's end: read, and readChar's
  // trailing byte (which would lie past the buffer) is a zero.
  p->m_data[kCap - 9] = 0x08;
  std::memset(p->m_data + kCap - 8, 'q', 8);
  p->readChar(&count, out.data());
  EXPECT_EQ(count, 8);
  EXPECT_EQ(std::string(out.data(), 9), std::string("qqqqqqqq\0", 9));
  EXPECT_EQ(p->m_position, kCap);
  p->m_position = kCap - 10;
  EXPECT_EQ(p->readString(), "qqqqqqqq");
}

TEST(MsgPacketBounds, ReadBytesBeyondEitherBufferCopiesNothing) {
  std::unique_ptr<MsgPacket> p(new MsgPacket);
  p->m_length = 65535;
  std::unique_ptr<MsgPacket> dest(new MsgPacket);
  struct Case {
    unsigned short position;
    unsigned int offset;
    unsigned int count;
    bool copied;
  };
  const Case cases[] = {{0, kCap - 4, 4, true},       {0, kCap - 3, 4, false},
                        {kCap - 4, 0, 4, true},       {kCap - 3, 0, 4, false},
                        {0, 0xFFFFFFFFu, 2, false},   {0, 0, 0xFFFFFFFFu, false}};
  for (const Case& c : cases) {
    p->m_position = c.position;
    p->readBytes(dest.get(), c.offset, c.count);
    EXPECT_EQ(p->m_position, c.copied ? c.position + c.count : c.position)
        << c.position << " " << c.offset << " " << c.count;
  }
}

}  // namespace
