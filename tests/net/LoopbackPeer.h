// LoopbackPeer: the server side of the socket tests.  It listens on
// 127.0.0.1 on a port the system picks (so tests can run side by side) and
// talks to one client.
#pragma once

#include <winsock2.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "net/MsgPacket.h"

typedef std::vector<unsigned char> Bytes;

// One frame as the receive worker reads it: two unused fields, the id, the
// frame length (header included) and the body.  lengthField overrides the
// length for malformed frames.
inline Bytes Frame(unsigned short id, const Bytes& body, int lengthField = -1) {
  std::unique_ptr<MsgPacket> p(new MsgPacket);
  p->writeShort(0x1111);
  p->writeShort(0x2222);
  p->writeShort(static_cast<short>(id));
  p->writeShort(static_cast<short>(lengthField >= 0 ? lengthField : 8 + body.size()));
  Bytes frame(p->m_data, p->m_data + p->m_length);
  frame.insert(frame.end(), body.begin(), body.end());
  return frame;
}

class LoopbackPeer {
 public:
  LoopbackPeer() {
    WSADATA info;
    WSAStartup(MAKEWORD(2, 2), &info);
    m_listen = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(m_listen, reinterpret_cast<sockaddr*>(&local), sizeof(local));
    listen(m_listen, 4);
    int size = sizeof(local);
    getsockname(m_listen, reinterpret_cast<sockaddr*>(&local), &size);
    m_port = ntohs(local.sin_port);
  }
  ~LoopbackPeer() {
    if (m_conn != INVALID_SOCKET) closesocket(m_conn);
    closesocket(m_listen);
    WSACleanup();
  }

  unsigned int port() const { return m_port; }

  bool HasPendingConnection(DWORD waitMs) { return Readable(m_listen, waitMs); }

  bool Accept() {
    if (!Readable(m_listen, 5000)) return false;
    m_conn = accept(m_listen, nullptr, nullptr);
    return m_conn != INVALID_SOCKET;
  }

  void Send(const Bytes& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
      int sent = send(m_conn, reinterpret_cast<const char*>(bytes.data() + done),
                      static_cast<int>(bytes.size() - done), 0);
      ASSERT_GT(sent, 0);
      done += static_cast<size_t>(sent);
    }
  }

  // Up to count bytes, stopping early when nothing arrives for waitMs.
  Bytes Receive(size_t count, DWORD waitMs = 5000) {
    Bytes got;
    char buffer[4096];
    while (got.size() < count && Readable(m_conn, waitMs)) {
      int want = static_cast<int>(std::min(sizeof(buffer), count - got.size()));
      int n = recv(m_conn, buffer, want, 0);
      if (n <= 0) break;
      got.insert(got.end(), buffer, buffer + n);
    }
    return got;
  }

  // Abortive close: the client's next send fails.
  void Reset() {
    linger hard = {1, 0};
    setsockopt(m_conn, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof(hard));
    closesocket(m_conn);
    m_conn = INVALID_SOCKET;
  }

 private:
  static bool Readable(SOCKET s, DWORD waitMs) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval wait = {static_cast<long>(waitMs / 1000), static_cast<long>(waitMs % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &wait) == 1;
  }

  SOCKET m_listen = INVALID_SOCKET;
  SOCKET m_conn = INVALID_SOCKET;
  unsigned int m_port = 0;
};
