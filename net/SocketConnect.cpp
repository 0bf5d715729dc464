// Host resolution and one connection attempt of CSocketMain::Start.
#include "net/SocketConnect.h"

#include <cstring>

namespace {

const int kSocketBufferBytes = 65536;
const DWORD kIoTimeoutMs = 10000;
const long kConnectWaitSeconds = 5;

std::string ToAnsi(const std::wstring& text) {
  if (text.empty()) return std::string();
  int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string ansi(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &ansi[0], size, nullptr, nullptr);
  ansi.resize(static_cast<size_t>(size - 1));
  return ansi;
}

bool IsDomainName(const std::wstring& host) {
  return host.find(L".com") != std::wstring::npos || host.find(L".net") != std::wstring::npos ||
         host.find(L".cn") != std::wstring::npos;
}

void SetBlocking(SOCKET s, bool blocking) {
  u_long nonBlocking = blocking ? 0 : 1;
  ioctlsocket(s, FIONBIO, &nonBlocking);
}

// Only the keep-alive option decides; the others are best effort.
bool SetOptions(SOCKET s) {
  int bytes = kSocketBufferBytes;
  DWORD timeout = kIoTimeoutMs;
  BOOL on = TRUE;
  setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bytes), sizeof(bytes));
  setsockopt(s, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&bytes), sizeof(bytes));
  setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
  return setsockopt(s, SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<const char*>(&on),
                    sizeof(on)) != SOCKET_ERROR;
}

// Waits for a connect in progress.  Windows reports success as writable
// and failure in the exception set, so watching both ends the wait as soon
// as the outcome is known; SO_ERROR confirms success.
bool WaitConnected(SOCKET s) {
  fd_set writable, failed;
  FD_ZERO(&writable);
  FD_ZERO(&failed);
  FD_SET(s, &writable);
  FD_SET(s, &failed);
  timeval wait = {kConnectWaitSeconds, 0};
  if (select(0, nullptr, &writable, &failed, &wait) <= 0) return false;
  if (!FD_ISSET(s, &writable) || FD_ISSET(s, &failed)) return false;
  int error = 0;
  int size = sizeof(error);
  if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) != 0) return false;
  return error == 0;
}

}  // namespace

bool ResolveHost(const std::wstring& host, unsigned long* address) {
  std::string ansi = ToAnsi(host);
  if (!IsDomainName(host)) {
    *address = inet_addr(ansi.c_str());
    return true;
  }
  hostent* entry = gethostbyname(ansi.c_str());
  if (!entry || entry->h_addrtype != AF_INET || entry->h_length != 4 || !entry->h_addr_list[0]) {
    return false;
  }
  std::memcpy(address, entry->h_addr_list[0], 4);
  return true;
}

bool ConnectSocket(SOCKET s, unsigned long address, unsigned int port) {
  if (s == INVALID_SOCKET) return false;
  if (!SetOptions(s)) {
    closesocket(s);
    return false;
  }
  SetBlocking(s, false);
  sockaddr_in peer;
  std::memset(&peer, 0, sizeof(peer));
  peer.sin_family = AF_INET;
  peer.sin_addr.s_addr = address;
  peer.sin_port = htons(static_cast<u_short>(port));
  bool connected = connect(s, reinterpret_cast<sockaddr*>(&peer), sizeof(peer)) == 0;
  // An error other than "in progress" is final: waiting cannot change it.
  if (!connected && WSAGetLastError() == WSAEWOULDBLOCK) connected = WaitConnected(s);
  if (!connected) {
    closesocket(s);
    return false;
  }
  SetBlocking(s, true);
  return true;
}
