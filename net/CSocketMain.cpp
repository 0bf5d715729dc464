// CSocketMain: lifecycle (Init, Start, Stop, destruction) and the two
// caller-side calls, SendMsg and RecvMsg.  The worker bodies live in
// SocketWorkers.cpp.
#include "net/SocketConn.h"

#include <process.h>

#include <cstring>
#include <new>

#include "net/CSocketMain.h"
#include "net/SocketConnect.h"

namespace {

const int kConnectAttempts = 3;

unsigned __stdcall SendThreadEntry(void* arg) {
  return static_cast<unsigned>(static_cast<CSocketMain*>(arg)->RunSendThread());
}

unsigned __stdcall RecvThreadEntry(void* arg) {
  return static_cast<unsigned>(static_cast<CSocketMain*>(arg)->RunRecvThread());
}

// A missing record leaves the worker unstarted; a thread that cannot be
// created ends the process, as a client without workers would hang.
WorkerThread* StartWorker(unsigned(__stdcall* entry)(void*), void* owner) {
  WorkerThread* worker = new (std::nothrow) WorkerThread;
  if (!worker) return nullptr;
  worker->entry = entry;
  worker->arg = owner;
  worker->handle = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, entry, owner, 0, &worker->id));
  if (!worker->handle) ExitProcess(static_cast<UINT>(-1));
  return worker;
}

// Waits for the worker to leave its loop; it is never terminated, so it
// cannot die holding a queue lock.
void JoinWorker(WorkerThread*& worker) {
  if (!worker) return;
  WaitForSingleObject(worker->handle, INFINITE);
  CloseHandle(worker->handle);
  delete worker;
  worker = nullptr;
}

}  // namespace

CSocketMain::CSocketMain()
    : m_socket(INVALID_SOCKET), m_failCountA(0), m_failCountB(0), m_failSelector(0), m_port(0),
      m_sendThread(nullptr), m_recvThread(nullptr), m_conn(nullptr) {}

CSocketMain::~CSocketMain() { Stop(); }

int CSocketMain::Init(const wchar_t* host, unsigned int port) {
  m_host = host ? host : L"";
  m_port = port;
  return 1;
}

int CSocketMain::Start() {
  if (!m_conn) {
    m_conn = new (std::nothrow) SocketConn{0, 0, INVALID_SOCKET, false};
    if (!m_conn) return 0;
    WSADATA info;
    std::memset(&info, 0, sizeof(info));
    if (WSAStartup(MAKEWORD(2, 2), &info) == 0) {
      // Only a 2.2 start is kept; Stop gives back exactly what was kept.
      if (info.wVersion == MAKEWORD(2, 2)) {
        m_conn->winsockStarted = true;
      } else {
        WSACleanup();
      }
    }
  }

  unsigned long address = 0;
  if (!ResolveHost(m_host, &address)) return 0;

  bool connected = false;
  for (int attempt = 0; attempt < kConnectAttempts && !connected; ++attempt) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    m_socket = s;
    m_conn->socket = s;
    m_conn->address = address;
    m_conn->port = m_port;
    connected = ConnectSocket(s, address, m_port);
    if (!connected) {
      m_socket = INVALID_SOCKET;  // ConnectSocket closed it
      m_conn->socket = INVALID_SOCKET;
    }
  }
  if (!connected) return 0;

  m_sendThread = StartWorker(SendThreadEntry, this);
  m_recvThread = StartWorker(RecvThreadEntry, this);
  return m_sendThread && m_recvThread ? 1 : 0;
}

// Marks the client stopped, wakes both workers (shutdown ends a blocked
// recv or send, Wake ends the send worker's wait for a message), joins
// them, and only then closes the socket and drops the connection record
// that they read.
void CSocketMain::Stop() {
  SOCKET s = static_cast<SOCKET>(m_socket);
  if (s != INVALID_SOCKET) {
    *static_cast<volatile UINT_PTR*>(&m_socket) = INVALID_SOCKET;  // workers poll it
    shutdown(s, SD_BOTH);
  }
  if (m_sendThread) m_sendQueue.Wake();
  JoinWorker(m_sendThread);
  JoinWorker(m_recvThread);
  if (s != INVALID_SOCKET) closesocket(s);

  if (m_conn) {
    bool started = m_conn->winsockStarted;
    *m_conn = SocketConn{0, 0, INVALID_SOCKET, false};
    if (started) WSACleanup();
    delete m_conn;
    m_conn = nullptr;
  }
  m_host.clear();
  m_port = 0;
}

int CSocketMain::SendMsg(int length, const char* data, unsigned int msgId) {
  if (!data) return 0;
  // A queued message holds at most one packet's data.
  if (length < 0 || length > MsgPacket::kCapacity) return 0;
  m_sendQueue.Insert(msgId, data, static_cast<unsigned short>(length));
  return 1;
}

int CSocketMain::RecvMsg(unsigned int* msgId, unsigned short* length, char* data) {
  QueuedMsg* msg = m_recvQueue.Take();
  while (!msg) msg = m_recvQueue.Take();
  int result = 0;
  if (msg->id != 0) {
    if (msgId) *msgId = msg->id;
    if (length) *length = msg->length;
    if (data) std::memcpy(data, msg->data, msg->length);
    result = 1;
  }
  delete msg;
  return result;
}
