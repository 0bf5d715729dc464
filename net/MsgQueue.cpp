// MsgQueue: bounded ring of heap copies guarded by a critical section; the
// semaphore counts messages that can be taken, so a consumer waits on it
// before it takes the lock.
#include "net/MsgQueue.h"

#include <cstring>
#include <new>

MsgQueue::MsgQueue() : m_slots(nullptr), m_read(0), m_write(0) {
  m_ready = CreateSemaphoreW(nullptr, 0, kCapacity, nullptr);
  // Without the semaphore no message could ever be handed over.
  if (!m_ready) ExitProcess(static_cast<UINT>(-1));
  InitializeCriticalSection(&m_lock);
  m_slots = new QueuedMsg*[kSlots]();
}

MsgQueue::~MsgQueue() {
  for (unsigned int i = 0; i < kSlots; ++i) delete m_slots[i];
  delete[] m_slots;
  DeleteCriticalSection(&m_lock);
  CloseHandle(m_ready);
}

bool MsgQueue::Insert(unsigned int id, const char* data, unsigned short length) {
  bool stored = false;
  EnterCriticalSection(&m_lock);
  unsigned int held = (m_write + kSlots - m_read) % kSlots;
  if (held < kCapacity) {
    QueuedMsg* msg = new (std::nothrow) QueuedMsg;
    if (msg) {
      msg->id = id;
      msg->length = length;
      if (length) std::memcpy(msg->data, data, length);
      m_slots[m_write] = msg;
      m_write = (m_write + 1) % kSlots;
      stored = true;
    }
  }
  LeaveCriticalSection(&m_lock);
  if (stored) ReleaseSemaphore(m_ready, 1, nullptr);
  return stored;
}

QueuedMsg* MsgQueue::Take() {
  WaitForSingleObject(m_ready, INFINITE);
  EnterCriticalSection(&m_lock);
  QueuedMsg* msg = m_slots[m_read];
  // A count without a message comes from Wake: hand over nothing.
  if (msg) {
    m_slots[m_read] = nullptr;
    m_read = (m_read + 1) % kSlots;
  }
  LeaveCriticalSection(&m_lock);
  return msg;
}

void MsgQueue::Wake() { ReleaseSemaphore(m_ready, 1, nullptr); }

unsigned int MsgQueue::Count() {
  EnterCriticalSection(&m_lock);
  unsigned int held = (m_write + kSlots - m_read) % kSlots;
  LeaveCriticalSection(&m_lock);
  return held;
}
