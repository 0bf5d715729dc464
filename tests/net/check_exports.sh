#!/bin/bash
# check_exports.sh EXE: the export table of EXE lists every public method of
# MsgPacket and CSocketMain with its argument types (demangled), plus the
# MsgPacket vtable that an importing program's objects refer to.
set -u
EXE=${1:?usage: check_exports.sh EXE}
TRIPLE=i686-w64-mingw32

exported=$("$TRIPLE-objdump" -p "$EXE" |
  sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/^\t\[ *[0-9]+\]/ {print $NF}' |
  "$TRIPLE-c++filt" -n)

missing=0
while IFS= read -r want; do
  [ -z "$want" ] && continue
  if ! grep -qxF -- "$want" <<<"$exported"; then
    echo "missing export: $want"
    missing=1
  fi
done <<'LIST'
MsgPacket::MsgPacket()
MsgPacket::MsgPacket(MsgPacket const&)
MsgPacket::operator=(MsgPacket const&)
MsgPacket::~MsgPacket()
vtable for MsgPacket
MsgPacket::writeByte(unsigned char)
MsgPacket::writeBoolean(bool)
MsgPacket::writeShort(short)
MsgPacket::writeInt(int)
MsgPacket::writeUint(unsigned int)
MsgPacket::writeInt64(long long)
MsgPacket::writeString(char const*, unsigned short)
MsgPacket::writeString(char const*)
MsgPacket::writeString(std::__cxx11::basic_string<char, std::char_traits<char>, std::allocator<char> > const&)
MsgPacket::writeBytes(char const*, unsigned int)
MsgPacket::writeBytes(MsgPacket const*)
MsgPacket::readUbyte()
MsgPacket::readByte()
MsgPacket::readBoolean()
MsgPacket::readShort()
MsgPacket::readUshort()
MsgPacket::readInt()
MsgPacket::readUint()
MsgPacket::readInt64()
MsgPacket::readString[abi:cxx11]()
MsgPacket::readChar(int*, char*)
MsgPacket::readBytes(MsgPacket*, unsigned int, unsigned int)
CSocketMain::CSocketMain()
CSocketMain::~CSocketMain()
CSocketMain::Init(wchar_t const*, unsigned int)
CSocketMain::Start()
CSocketMain::Stop()
CSocketMain::SendMsg(int, char const*, unsigned int)
CSocketMain::RecvMsg(unsigned int*, unsigned short*, char*)
CSocketMain::RunSendThread()
CSocketMain::RunRecvThread()
LIST

if [ "$missing" -ne 0 ]; then
  echo "--- exported names:"
  echo "$exported"
  exit 1
fi
echo "all $(grep -c . <<<"$exported") exports present"
