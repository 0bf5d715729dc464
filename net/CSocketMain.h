// CSocketMain: a TCP message client exported from NuvraSetup.exe.  It
// connects to one server and runs two workers: the send worker writes what
// SendMsg queued, the receive worker reads frames and queues them for
// RecvMsg.  Received frames have an 8-byte big-endian header:
//   [0..1] unused  [2..3] unused  [4..5] message id  [6..7] frame length
// (header included), then the body.  SendMsg sends the caller's bytes as
// they are; a caller builds whole frames (for instance with MsgPacket).
//
// Lifecycle: Init(host, port) -> Start() -> SendMsg/RecvMsg -> Stop().
// Stop clears host and port, so Init again before the next Start.  Do not
// destroy the object while a SendMsg or RecvMsg call is in progress; Stop
// does not wake a thread blocked in RecvMsg.
#pragma once

#include <windows.h>

#include <string>

#include "net/MsgPacket.h"
#include "net/MsgQueue.h"
#include "net/NetApi.h"

struct SocketConn;
struct WorkerThread;

class NUVRA_NET_API CSocketMain {
 public:
  enum { kFailCountMsgId = 10040 };

  CSocketMain();
  // Stops (as Stop) and releases both queues with every message in them.
  ~CSocketMain();

  // Stores host (null gives "") and port (low 16 bits used).  Returns 1.
  int Init(const wchar_t* host, unsigned int port);
  // Resolves, connects (three attempts) and starts both workers: 1 when
  // connected and both workers run, else 0.
  int Start();
  // Closes the connection, ends and joins both workers, clears host and
  // port.  Queued messages stay.
  void Stop();
  // Queues length bytes of data under message id; returns 0 for null data
  // or a length above 40,968, else 1 (also when the full queue dropped it).
  int SendMsg(int length, const char* data, unsigned int msgId);
  // Waits for a received message.  Returns 1 with id, length and up to
  // 40,968 bytes of data stored, or 0 (outputs untouched) for message id 0.
  int RecvMsg(unsigned int* msgId, unsigned short* length, char* data);
  // Worker bodies; each worker thread exits with its result.
  int RunSendThread();
  int RunRecvThread();

  UINT_PTR m_socket;  // SOCKET: valid while the client runs
  int m_failCountA;   // failed sends of id 10040 while m_failSelector == 2
  int m_failCountB;   // ... while m_failSelector is anything else
  int m_failSelector;
  std::wstring m_host;
  unsigned int m_port;
  MsgQueue m_sendQueue;
  MsgQueue m_recvQueue;
  WorkerThread* m_sendThread;
  WorkerThread* m_recvThread;
  SocketConn* m_conn;

 private:
  CSocketMain(const CSocketMain&) = delete;
  CSocketMain& operator=(const CSocketMain&) = delete;
};
