// Small owners for Win32 handles, so that every early return releases what
// a function opened.  One template, one traits struct per kind of handle.
#pragma once

#include <windows.h>

template <typename Traits>
class ScopedHandle {
 public:
  using Type = typename Traits::Type;

  ScopedHandle() : value_(Traits::Invalid()) {}
  explicit ScopedHandle(Type value) : value_(value) {}
  ~ScopedHandle() { Reset(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : value_(other.Release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  bool Valid() const { return value_ != Traits::Invalid(); }
  explicit operator bool() const { return Valid(); }
  Type Get() const { return value_; }

  // Closes the held handle (keeping the caller's last-error value, so that a
  // failure reported after a clean-up still names the call that failed).
  void Reset(Type value = Traits::Invalid()) {
    if (Valid()) {
      const DWORD error = GetLastError();
      Traits::Close(value_);
      SetLastError(error);
    }
    value_ = value;
  }
  Type Release() {
    Type value = value_;
    value_ = Traits::Invalid();
    return value;
  }
  // For APIs that return a handle through a pointer (RegCreateKeyExW).
  Type* Receive() {
    Reset();
    return &value_;
  }

 private:
  Type value_;
};

// CreateFileW and CreateToolhelp32Snapshot: INVALID_HANDLE_VALUE when they
// fail.
struct FileHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { CloseHandle(h); }
};

// CreateFileMappingW, threads, events: null when it fails.
struct KernelHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { CloseHandle(h); }
};

struct MappedViewTraits {
  using Type = const void*;
  static Type Invalid() { return nullptr; }
  static void Close(Type view) { UnmapViewOfFile(view); }
};

struct FindHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { FindClose(h); }
};

struct RegKeyTraits {
  using Type = HKEY;
  static Type Invalid() { return nullptr; }
  static void Close(Type key) { RegCloseKey(key); }
};

// LoadLibraryExW, including data-file modules.
struct ModuleTraits {
  using Type = HMODULE;
  static Type Invalid() { return nullptr; }
  static void Close(Type module) { FreeLibrary(module); }
};

using ScopedFile = ScopedHandle<FileHandleTraits>;
using ScopedSnapshot = ScopedHandle<FileHandleTraits>;
using ScopedKernelHandle = ScopedHandle<KernelHandleTraits>;
using ScopedMappedView = ScopedHandle<MappedViewTraits>;
using ScopedFind = ScopedHandle<FindHandleTraits>;
using ScopedRegKey = ScopedHandle<RegKeyTraits>;
using ScopedModule = ScopedHandle<ModuleTraits>;
