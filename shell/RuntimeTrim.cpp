// Trims the static C++ run-time to what a setup program needs.
//
// NuvraSetup.exe is downloaded by every user, and the static libstdc++
// brings its whole exception machinery (type information, the unwinder,
// error-message strings, the symbol demangler of its terminate handler)
// as soon as anything can throw.  The product code is compiled without
// exceptions; the only throws left are the library's own reports of an
// exhausted heap or an impossible string length, which no caller could
// handle anyway.  Here they end the process at once instead, and the
// allocation functions do the same instead of throwing std::bad_alloc.
// Test programs link the engine without this file and keep the library's
// standard behaviour.
#include <cstdlib>
#include <new>

namespace {
[[noreturn]] void Fail() { std::abort(); }
}  // namespace

namespace __gnu_cxx {
void __verbose_terminate_handler() { Fail(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { Fail(); }
void __throw_bad_array_new_length() { Fail(); }
void __throw_length_error(const char*) { Fail(); }
void __throw_logic_error(const char*) { Fail(); }
void __throw_out_of_range(const char*) { Fail(); }
void __throw_out_of_range_fmt(const char*, ...) { Fail(); }
void __throw_invalid_argument(const char*) { Fail(); }
}  // namespace std

void* operator new(std::size_t size) {
  if (void* p = std::malloc(size ? size : 1)) return p;
  Fail();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
