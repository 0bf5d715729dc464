// A COM interface pointer released when it goes away, so that every early
// return of the shortcut and folder code releases what it obtained.
#pragma once

#include <windows.h>

// A COM interface pointer released on destruction.
template <typename T>
class ComRef {
 public:
  ComRef() : ptr_(nullptr) {}
  ~ComRef() {
    if (ptr_) ptr_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  T* Get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  T** Receive() { return &ptr_; }
  void** ReceiveVoid() { return reinterpret_cast<void**>(&ptr_); }

 private:
  T* ptr_;
};
