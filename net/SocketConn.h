// SocketConn and WorkerThread: the connection and worker records that
// CSocketMain owns between Start and Stop.
#pragma once

#include <winsock2.h>

struct SocketConn {
  unsigned long address;  // IPv4, network byte order
  unsigned int port;
  SOCKET socket;          // INVALID_SOCKET once a send failed or Stop ran
  bool winsockStarted;    // this connection holds one WSAStartup reference
};

struct WorkerThread {
  HANDLE handle;
  unsigned int id;
  unsigned(__stdcall* entry)(void*);
  void* arg;
};
