// libFuzzer target: MsgPacket reads (and the writes that move its counters)
// on packets whose counters and bytes come from arbitrary input.  Built
// with AddressSanitizer and UBSan; an access outside any buffer is a crash.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "net/MsgPacket.h"

namespace {

const unsigned int kCap = MsgPacket::kCapacity;

// m_data lies inside the object, so a small overrun would land in
// m_stringBuffer without ASan noticing; watch that pointer instead.
void Check(bool ok) {
  if (!ok) std::abort();
}

void RunOne(FuzzedDataProvider& in, MsgPacket& p, MsgPacket& other, std::vector<char>& out) {
  char* buffer = p.m_stringBuffer;
  switch (in.ConsumeIntegralInRange<int>(0, 22)) {
    case 0: p.readUbyte(); break;
    case 1: p.readBoolean(); break;
    case 2: p.readShort(); break;
    case 3: p.readUshort(); break;
    case 4: p.readInt(); break;
    case 5: p.readUint(); break;
    case 6: p.readInt64(); break;
    case 7: {
      unsigned short before = p.m_position;
      std::string text = p.readString();
      Check(text.size() <= kCap - 2);
      Check(p.m_position == before || text.size() <= static_cast<unsigned short>(p.m_position - before));
      return;
    }
    case 8: {
      int count = -1;
      p.readChar(&count, out.data());
      Check(count >= -1 && count <= static_cast<int>(kCap - 2));
      break;
    }
    case 9: p.readBytes(&other, in.ConsumeIntegral<unsigned int>(), in.ConsumeIntegral<unsigned int>()); break;
    case 10: p.readBytes(&other, in.ConsumeIntegralInRange<unsigned int>(0, kCap),
                         in.ConsumeIntegralInRange<unsigned int>(0, kCap)); break;
    case 11: p.writeByte(in.ConsumeIntegral<unsigned char>()); break;
    case 12: p.writeShort(in.ConsumeIntegral<short>()); break;
    case 13: p.writeInt(in.ConsumeIntegral<int>()); break;
    case 14: p.writeInt64(in.ConsumeIntegral<long long>()); break;
    case 15: {
      std::string text = in.ConsumeRandomLengthString(70000);
      p.writeString(text);
      break;
    }
    case 16: {
      std::vector<char> bytes = in.ConsumeBytes<char>(in.ConsumeIntegralInRange<size_t>(0, 70000));
      p.writeBytes(bytes.data(), static_cast<unsigned int>(bytes.size()));
      break;
    }
    case 17: p.writeBytes(&other); break;
    case 18: p.writeBytes(&p); break;
    case 19: p.m_position = in.ConsumeIntegral<unsigned short>(); break;
    case 20: p.m_length = in.ConsumeIntegral<unsigned short>(); break;
    case 21: other.m_length = in.ConsumeIntegral<unsigned short>(); break;
    case 22: other = p; break;
  }
  Check(p.m_stringBuffer == buffer);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  std::unique_ptr<MsgPacket> p(new MsgPacket);
  std::unique_ptr<MsgPacket> other(new MsgPacket);
  // readChar's documented need: the count plus one, at most 40,967 bytes.
  std::vector<char> out(kCap - 1);

  p->m_length = in.ConsumeIntegral<unsigned short>();
  p->m_position = in.ConsumeIntegral<unsigned short>();
  unsigned int at = in.ConsumeIntegralInRange<unsigned int>(0, kCap);
  std::vector<char> fill = in.ConsumeBytes<char>(in.ConsumeIntegralInRange<size_t>(0, kCap - at));
  if (!fill.empty()) std::memcpy(p->m_data + at, fill.data(), fill.size());

  while (in.remaining_bytes() > 0) RunOne(in, *p, *other, out);
  return 0;
}
