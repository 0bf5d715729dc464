// MsgPacket: big-endian message buffer (see MsgPacket.h for the rules).
#include "net/MsgPacket.h"

#include <cstring>
#include <new>

MsgPacket::MsgPacket() : m_length(0), m_position(0), m_stringBuffer(nullptr) {
  std::memset(m_data, 0, sizeof(m_data));
}

MsgPacket::MsgPacket(const MsgPacket& other)
    : m_length(other.m_length), m_position(other.m_position), m_stringBuffer(nullptr) {
  std::memcpy(m_data, other.m_data, sizeof(m_data));
}

MsgPacket& MsgPacket::operator=(const MsgPacket& other) {
  if (this != &other) {
    m_length = other.m_length;
    m_position = other.m_position;
    std::memcpy(m_data, other.m_data, sizeof(m_data));
  }
  return *this;
}

MsgPacket::~MsgPacket() { delete[] m_stringBuffer; }

// --- bounds ---------------------------------------------------------------
// Kept out of the class so that the export table lists only its interface.

namespace {

const unsigned int kCapacity = MsgPacket::kCapacity;

// m_position may have been set to anything by the user, so every test is
// made in unsigned int, where position + width cannot wrap.
bool CanWrite(const MsgPacket& p, unsigned int width) {
  return width <= kCapacity && p.m_position <= kCapacity - width;
}

bool CanRead(const MsgPacket& p, unsigned int width) {
  return p.m_position < p.m_length && CanWrite(p, width);
}

void Put(MsgPacket& p, const void* bytes, unsigned int count) {
  std::memmove(p.m_data + p.m_position, bytes, count);
  p.m_position = static_cast<unsigned short>(p.m_position + count);
  p.m_length = static_cast<unsigned short>(p.m_length + count);
}

// Reads `width` (<= 4) bytes big-endian; the caller has checked CanRead.
unsigned int TakeBigEndian(MsgPacket& p, unsigned int width) {
  unsigned int value = 0;
  for (unsigned int i = 0; i < width; ++i) {
    value = (value << 8) | static_cast<unsigned char>(p.m_data[p.m_position + i]);
  }
  p.m_position = static_cast<unsigned short>(p.m_position + width);
  return value;
}

// Writes the low `width` bytes of value, most significant first.
void StoreBigEndian(unsigned char* out, unsigned int value, unsigned int width) {
  for (unsigned int i = 0; i < width; ++i) {
    out[i] = static_cast<unsigned char>(value >> (8 * (width - 1 - i)));
  }
}

// A counted read (readString, readChar) goes ahead only when the count and
// all counted bytes lie inside the buffer; a corrupt count past the end is
// refused as a whole.  Returns the count, or -1 when refused.
long PeekCount(const MsgPacket& p) {
  if (!CanRead(p, 2)) return -1;
  unsigned int at = p.m_position;
  unsigned int count = static_cast<unsigned int>(static_cast<unsigned char>(p.m_data[at]) << 8) |
                       static_cast<unsigned char>(p.m_data[at + 1]);
  if (count > kCapacity - 2 - at) return -1;
  return static_cast<long>(count);
}

}  // namespace

// --- writes ---------------------------------------------------------------

void MsgPacket::writeByte(unsigned char value) {
  if (CanWrite(*this, 1)) Put(*this, &value, 1);
}

void MsgPacket::writeBoolean(bool value) { writeByte(value ? 1 : 0); }

void MsgPacket::writeShort(short value) {
  unsigned char bytes[2];
  StoreBigEndian(bytes, static_cast<unsigned short>(value), 2);
  if (CanWrite(*this, 2)) Put(*this, bytes, 2);
}

void MsgPacket::writeInt(int value) { writeUint(static_cast<unsigned int>(value)); }

void MsgPacket::writeUint(unsigned int value) {
  unsigned char bytes[4];
  StoreBigEndian(bytes, value, 4);
  if (CanWrite(*this, 4)) Put(*this, bytes, 4);
}

void MsgPacket::writeInt64(long long value) {
  unsigned long long bits = static_cast<unsigned long long>(value);
  unsigned char bytes[8];
  StoreBigEndian(bytes, static_cast<unsigned int>(bits >> 32), 4);
  StoreBigEndian(bytes + 4, static_cast<unsigned int>(bits), 4);
  if (CanWrite(*this, 8)) Put(*this, bytes, 8);
}

// Count and bytes go in together or not at all.
void MsgPacket::writeString(const char* text, unsigned short count) {
  if (!text || !CanWrite(*this, 2u + count)) return;
  unsigned char header[2];
  StoreBigEndian(header, count, 2);
  Put(*this, header, 2);
  Put(*this, text, count);
}

void MsgPacket::writeString(const char* text) {
  if (!text) return;
  writeString(text, static_cast<unsigned short>(std::strlen(text)));
}

void MsgPacket::writeString(const std::string& text) {
  writeString(text.data(), static_cast<unsigned short>(text.size()));
}

// The one write with its historical limit: at most 40,967 bytes can be
// filled this way (position + count must stay below the capacity).
void MsgPacket::writeBytes(const char* bytes, unsigned int count) {
  if (!bytes) return;
  if (static_cast<unsigned long long>(m_position) + count >= kCapacity) return;
  Put(*this, bytes, count);
}

void MsgPacket::writeBytes(const MsgPacket* other) {
  if (!other) return;
  unsigned int count = other->m_length;
  if (static_cast<unsigned long long>(m_position) + count >= kCapacity) return;
  Put(*this, other->m_data, count);  // memmove: other may be this packet
}

// --- reads ----------------------------------------------------------------

unsigned char MsgPacket::readUbyte() {
  return CanRead(*this, 1) ? static_cast<unsigned char>(TakeBigEndian(*this, 1)) : 0;
}

unsigned char MsgPacket::readByte() { return readUbyte(); }

bool MsgPacket::readBoolean() { return readUbyte() != 0; }

short MsgPacket::readShort() { return static_cast<short>(readUshort()); }

unsigned short MsgPacket::readUshort() {
  return CanRead(*this, 2) ? static_cast<unsigned short>(TakeBigEndian(*this, 2)) : 0;
}

int MsgPacket::readInt() { return static_cast<int>(readUint()); }

unsigned int MsgPacket::readUint() { return CanRead(*this, 4) ? TakeBigEndian(*this, 4) : 0; }

long long MsgPacket::readInt64() {
  unsigned long long high = CanRead(*this, 4) ? TakeBigEndian(*this, 4) : 0;
  unsigned long long low = CanRead(*this, 4) ? TakeBigEndian(*this, 4) : 0;
  return static_cast<long long>((high << 32) | low);
}

std::string MsgPacket::readString() {
  long counted = PeekCount(*this);
  if (counted < 0) return std::string();
  unsigned int count = static_cast<unsigned int>(counted);
  const char* bytes = m_data + m_position + 2;
  const void* zero = std::memchr(bytes, 0, count);
  size_t textBytes = zero ? static_cast<size_t>(static_cast<const char*>(zero) - bytes) : count;
  std::string result(bytes, textBytes);

  delete[] m_stringBuffer;
  m_stringBuffer = new (std::nothrow) char[count + 1];
  if (m_stringBuffer) {
    std::memcpy(m_stringBuffer, bytes, count);
    m_stringBuffer[count] = 0;
  }
  m_position = static_cast<unsigned short>(m_position + 2 + count);
  return result;
}

void MsgPacket::readChar(int* count, char* out) {
  if (!count || !out) return;
  long counted = PeekCount(*this);
  if (counted < 0) return;
  unsigned int n = static_cast<unsigned int>(counted);
  unsigned int at = m_position + 2u;
  std::memcpy(out, m_data + at, n);
  // The byte after the string: zero when the string ends the buffer.
  out[n] = at + n < kCapacity ? m_data[at + n] : 0;
  *count = static_cast<int>(n);
  m_position = static_cast<unsigned short>(at + n);
}

void MsgPacket::readBytes(MsgPacket* dest, unsigned int offset, unsigned int count) {
  if (!dest || m_position >= m_length) return;
  if (count > kCapacity || m_position > kCapacity - count) return;
  if (offset > kCapacity - count) return;
  std::memmove(dest->m_data + offset, m_data + m_position, count);
  m_position = static_cast<unsigned short>(m_position + count);
}
