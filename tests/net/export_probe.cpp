// A DLL that uses MsgPacket and CSocketMain only through the export table of
// the executable that loads it (its import library names that executable).
// Built without the net library: the header gives it dllimport
// declarations.
#include <windows.h>

#include <memory>
#include <string>

#include "net/CSocketMain.h"

// Builds a packet, copies it, reads it back and runs a client's idle
// lifecycle, all in the executable's code.  Returns 1 when every result is
// the expected one; *where receives the address of an imported method.
extern "C" __declspec(dllexport) int ProbeExports(const void** where) {
  void (MsgPacket::*write)(short) = &MsgPacket::writeShort;
  *where = *reinterpret_cast<void**>(&write);

  std::unique_ptr<MsgPacket> p(new MsgPacket);
  p->writeShort(0x1234);
  p->writeString(std::string("abc"));
  std::unique_ptr<MsgPacket> copy(new MsgPacket(*p));
  copy->m_position = 0;
  bool packetOk = copy->readShort() == 0x1234 && copy->readString() == "abc" &&
                  copy->m_position == 7 && copy->m_stringBuffer != nullptr;

  std::unique_ptr<CSocketMain> client(new CSocketMain);
  client->Init(L"127.0.0.1", 1);
  bool configured = client->m_port == 1 && client->SendMsg(3, "abc", 9) == 1;
  client->Stop();
  bool clientOk = configured && client->m_host.empty() && client->m_port == 0;
  return packetOk && clientOk ? 1 : 0;
}
