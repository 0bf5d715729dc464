// The send and receive workers of CSocketMain.  Both poll m_socket once per
// cycle and leave their loop once Stop has made it invalid; neither is ever
// terminated from outside.
#include "net/SocketConn.h"

#include <memory>

#include "net/CSocketMain.h"

namespace {

const DWORD kCyclePauseMs = 100;
const DWORD kRecvTimeoutMs = 10000;
const unsigned int kHeaderBytes = 8;

// m_socket and the connection's socket are shared with other threads
// without a lock; read them fresh every time.
SOCKET Fresh(const volatile UINT_PTR& value) { return static_cast<SOCKET>(value); }

// Sends all bytes.  A send error ends the connection for good: the socket
// is shut down and marked invalid in the record (m_socket keeps the handle
// so that Stop closes it after both workers have left).
bool SendAll(SocketConn* conn, const char* data, int count) {
  SOCKET s = Fresh(conn->socket);
  if (s == INVALID_SOCKET) return false;
  while (count > 0) {
    int sent = send(s, data, count, 0);
    if (sent == SOCKET_ERROR || sent <= 0) {
      shutdown(s, SD_BOTH);
      conn->socket = INVALID_SOCKET;
      return false;
    }
    data += sent;
    count -= sent;
  }
  return true;
}

// Waits until s has bytes (or its end) to read.  The wait is cut into short
// slices so that a worker sees Stop promptly: a blocked recv is not woken
// reliably by shutdown or closesocket from another thread.  After the
// receive time-out with nothing to read it gives up, as a timed-out recv
// would.
bool WaitReadable(SOCKET s, const volatile UINT_PTR& running) {
  for (DWORD waited = 0; waited < kRecvTimeoutMs; waited += kCyclePauseMs) {
    if (Fresh(running) == INVALID_SOCKET) return false;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval slice = {0, static_cast<long>(kCyclePauseMs) * 1000};
    int ready = select(0, &readable, nullptr, nullptr, &slice);
    if (ready != 0) return ready > 0;
  }
  return false;
}

// Receives exactly count bytes; false on a closed connection, an error, the
// receive time-out or Stop (what arrived is then discarded by the caller).
bool RecvExact(SOCKET s, const volatile UINT_PTR& running, char* out, unsigned int count) {
  while (count > 0) {
    if (!WaitReadable(s, running)) return false;
    int got = recv(s, out, static_cast<int>(count), 0);
    if (got <= 0) return false;
    out += got;
    count -= static_cast<unsigned int>(got);
  }
  return true;
}

// Reads and throws away count bytes in pieces of the scratch buffer, so the
// next header is read where the peer put it.
bool RecvDiscard(SOCKET s, const volatile UINT_PTR& running, char* scratch,
                 unsigned int scratchBytes, unsigned int count) {
  while (count > 0) {
    unsigned int piece = count < scratchBytes ? count : scratchBytes;
    if (!RecvExact(s, running, scratch, piece)) return false;
    count -= piece;
  }
  return true;
}

}  // namespace

int CSocketMain::RunSendThread() {
  if (Fresh(m_socket) == INVALID_SOCKET) return 0;
  int result = 0;
  do {
    QueuedMsg* msg = m_sendQueue.Take();
    if (!msg) continue;  // woken by Stop
    if (msg->length != 0) {
      result = SendAll(m_conn, msg->data, msg->length) ? 1 : 0;
      if (msg->id == kFailCountMsgId) {
        int& counter = m_failSelector == 2 ? m_failCountA : m_failCountB;
        counter = result ? 0 : counter + 1;
      }
      m_failSelector = 0;
    }
    delete msg;
    Sleep(kCyclePauseMs);
  } while (Fresh(m_socket) != INVALID_SOCKET);
  return result;
}

// One frame per cycle: 8-byte header (two unused fields, message id, frame
// length including the header), then the body.  Frames of 8 bytes or less
// carry nothing; frames whose body exceeds a packet are read and dropped.
int CSocketMain::RunRecvThread() {
  if (Fresh(m_socket) == INVALID_SOCKET) return 0;
  std::unique_ptr<MsgPacket> header(new (std::nothrow) MsgPacket);
  std::unique_ptr<MsgPacket> body(new (std::nothrow) MsgPacket);
  if (!header || !body) return 0;
  do {
    SOCKET s = Fresh(m_conn->socket);
    if (s == INVALID_SOCKET) {
      Sleep(kCyclePauseMs);
      continue;
    }
    if (RecvExact(s, m_socket, header->m_data, kHeaderBytes)) {
      header->m_length = kHeaderBytes;
      header->m_position = 0;
      header->readUshort();
      header->readUshort();
      unsigned int msgId = header->readUshort();
      unsigned int frameBytes = header->readUshort();
      if (frameBytes > kHeaderBytes) {
        unsigned int bodyBytes = frameBytes - kHeaderBytes;
        if (bodyBytes > MsgPacket::kCapacity) {
          RecvDiscard(s, m_socket, body->m_data, MsgPacket::kCapacity, bodyBytes);
        } else if (RecvExact(s, m_socket, body->m_data, bodyBytes)) {
          m_recvQueue.Insert(msgId, body->m_data, static_cast<unsigned short>(bodyBytes));
        }
      }
    }
    Sleep(kCyclePauseMs);
  } while (Fresh(m_socket) != INVALID_SOCKET);
  return 0;
}
