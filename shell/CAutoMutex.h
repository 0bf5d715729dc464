// CAutoMutex: owns one mutex handle and closes it when it goes away.
#pragma once
#include <windows.h>

class CAutoMutex {
 public:
  CAutoMutex() : m_hMutex(nullptr) {}
  explicit CAutoMutex(HANDLE mutex) : m_hMutex(mutex) {}
  virtual ~CAutoMutex() { Close(); }
  void Close() {
    if (m_hMutex) CloseHandle(m_hMutex);
    m_hMutex = nullptr;
  }
  HANDLE m_hMutex;

 private:
  CAutoMutex(const CAutoMutex&) = delete;
  CAutoMutex& operator=(const CAutoMutex&) = delete;
};
