// MsgQueue: a bounded, thread-safe ring of heap copies of QueuedMsg, with a
// counting semaphore that holds one count per message that can be taken.
#pragma once

#include <windows.h>

#include "net/MsgPacket.h"

struct QueuedMsg {
  unsigned int id;
  unsigned short length;
  char data[MsgPacket::kCapacity];  // the first `length` bytes are the message
};

class MsgQueue {
 public:
  enum { kCapacity = 512, kSlots = kCapacity + 1 };

  // Ends the process with exit code -1 when the semaphore cannot be made.
  MsgQueue();
  // Releases every message still held.
  ~MsgQueue();

  // Stores a copy of the message unless 512 are held or memory is short;
  // returns whether it was stored.  length must not exceed the data capacity.
  bool Insert(unsigned int id, const char* data, unsigned short length);

  // Waits without time-out and hands over the oldest message (the caller
  // deletes it).  Returns null when the wait was ended by Wake.
  QueuedMsg* Take();

  // Releases one waiter of Take without a message (used to end a worker).
  void Wake();

  unsigned int Count();

 private:
  MsgQueue(const MsgQueue&) = delete;
  MsgQueue& operator=(const MsgQueue&) = delete;

  QueuedMsg** m_slots;
  unsigned int m_read;
  unsigned int m_write;
  HANDLE m_ready;
  CRITICAL_SECTION m_lock;
};
