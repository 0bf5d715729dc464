// MsgPacket: a fixed-capacity message buffer with one read/write position.
// Every multi-byte number is big-endian; a string is a 16-bit count followed
// by exactly that many bytes.  Exported from NuvraSetup.exe, so the method
// names and argument types are fixed.
//
// Rules a user relies on:
//  - A write stores at m_position and adds its width to m_position and
//    m_length (both 16-bit, wrapping).  A write that would not fit in the
//    40,968-byte buffer is refused silently; writeBytes keeps its stricter
//    limit (position + count must stay below 40,968).
//  - A read goes ahead only while m_position < m_length and then takes its
//    full width, bytes past m_length included.  A read whose width or counted
//    length would run past the end of the buffer is refused like a read with
//    nothing left: it returns 0 / false / "" / nothing and moves nothing.
//  - No method moves m_position back; set m_position and m_length directly to
//    re-read a packet or to read bytes placed in m_data by other means.
//  - One thread at a time.
#pragma once

#include <string>

#include "net/NetApi.h"

class NUVRA_NET_API MsgPacket {
 public:
  enum { kCapacity = 40968 };

  MsgPacket();
  MsgPacket(const MsgPacket& other);
  // Copies length, position and data; the target keeps its own string buffer.
  MsgPacket& operator=(const MsgPacket& other);
  virtual ~MsgPacket();

  void writeByte(unsigned char value);
  void writeBoolean(bool value);
  void writeShort(short value);
  void writeInt(int value);
  void writeUint(unsigned int value);
  // long long is the 64-bit integer (__int64 of the Windows compilers).
  void writeInt64(long long value);
  // Count (low 16 bits) then the bytes as they are, zero bytes included.
  void writeString(const char* text, unsigned short count);
  void writeString(const char* text);
  void writeString(const std::string& text);
  // Refused when m_position + count >= 40,968.
  void writeBytes(const char* bytes, unsigned int count);
  // The other packet's first m_length bytes; same limit as above.
  void writeBytes(const MsgPacket* other);

  unsigned char readUbyte();
  unsigned char readByte();
  bool readBoolean();
  short readShort();
  unsigned short readUshort();
  int readInt();
  unsigned int readUint();
  // Two 4-byte halves, each read only while a byte is left.
  long long readInt64();
  // The counted bytes up to the first zero among them; m_position moves past
  // all counted bytes.  The counted bytes plus a zero are kept in
  // m_stringBuffer until the next readString.
  std::string readString();
  // Stores the count n in *count and copies n + 1 bytes (the string and the
  // byte after it, a zero when the byte lies past the buffer) to out, which
  // needs room for n + 1 bytes; n never exceeds 40,966.
  void readChar(int* count, char* out);
  // Copies count bytes at m_position to dest->m_data + offset; refused when
  // either side would run past its buffer.  dest's counters do not change.
  void readBytes(MsgPacket* dest, unsigned int offset, unsigned int count);

  unsigned short m_length;
  unsigned short m_position;
  char m_data[kCapacity];
  char* m_stringBuffer;
};
