// The C++ run-time's default terminate handler prints the name of an
// uncaught exception's type, and to do so links in the whole symbol
// demangler: tens of kilobytes in a program that every user downloads.
// A setup program has no console to print to anyway, so an uncaught
// exception (only the string wrappers raise one, on an exhausted heap)
// simply ends the process.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
