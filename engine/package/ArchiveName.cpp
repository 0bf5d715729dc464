// The rule that keeps every archived file below the install directory.
#include "engine/package/Package.h"

namespace nuvra {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Windows drops trailing dots and spaces from a path component, so "..",
// ". ." and "... " all walk up; a component made only of them is refused.
bool IsDotsAndSpaces(const char* part, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    if (part[i] != '.' && part[i] != ' ') return false;
  }
  return true;
}

bool StemIs(const char* stem, size_t length, const char* word) {
  size_t i = 0;
  for (; i < length && word[i] != '\0'; ++i) {
    if (Upper(stem[i]) != word[i]) return false;
  }
  return i == length && word[i] == '\0';
}

// COM and LPT take a digit, and also the superscript digits one to three of
// the Western code page (0xB9, 0xB2, 0xB3: "COM\xB9" is COM1 to Windows).
bool IsPortDigit(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return (u >= '0' && u <= '9') || u == 0xB9 || u == 0xB2 || u == 0xB3;
}

// "NUL", "con.txt", "COM1 .log": Windows opens the device, not a file in
// the folder.  The stem is the part before the first dot, trailing spaces
// dropped.
bool IsDeviceName(const char* part, size_t length) {
  size_t stem = 0;
  while (stem < length && part[stem] != '.') ++stem;
  while (stem > 0 && part[stem - 1] == ' ') --stem;
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (const char* device : kDevices) {
    if (StemIs(part, stem, device)) return true;
  }
  if (stem == 4 && IsPortDigit(part[3])) {
    return StemIs(part, 3, "COM") || StemIs(part, 3, "LPT");
  }
  return false;
}

bool IsSafeComponent(const char* part, size_t length) {
  return length > 0 && !IsDotsAndSpaces(part, length) && !IsDeviceName(part, length);
}

}  // namespace

bool IsSafeArchiveName(const char* name, size_t length) {
  if (name == nullptr || length == 0 || length > kMaxArchiveNameBytes) return false;
  size_t partStart = 0;
  for (size_t i = 0; i <= length; ++i) {
    if (i == length || IsSeparator(name[i])) {
      if (!IsSafeComponent(name + partStart, i - partStart)) return false;
      partStart = i + 1;
      continue;
    }
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (IsControl(c) || c == ':') return false;
  }
  return true;
}

}  // namespace nuvra
