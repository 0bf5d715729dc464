// Small owners for the handles and COM pointers that the shell, shortcut
// and process steps use, so that every early return releases them.
#pragma once

#include <windows.h>

// A kernel handle closed with CloseHandle.  Both null and
// INVALID_HANDLE_VALUE count as "no handle" (snapshots and files report
// failure with the latter, processes with the former).
class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle = nullptr) : handle_(handle) {}
  ~OwnedHandle() { Reset(); }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;

  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }
  void Reset(HANDLE handle = nullptr) {
    if (Valid()) CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_;
};

// An open registry key closed with RegCloseKey.
class OwnedRegKey {
 public:
  OwnedRegKey() : key_(nullptr) {}
  ~OwnedRegKey() {
    if (key_) RegCloseKey(key_);
  }
  OwnedRegKey(const OwnedRegKey&) = delete;
  OwnedRegKey& operator=(const OwnedRegKey&) = delete;

  HKEY Get() const { return key_; }
  HKEY* Receive() { return &key_; }

 private:
  HKEY key_;
};

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
