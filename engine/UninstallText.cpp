#include "engine/UninstallText.h"

namespace {

// Appends `value` in decimal, right-aligned with spaces to `width`
// characters, like printf's "%Nd".  Hand-made because the C library's
// formatted output would add tens of kilobytes to the installer for two
// short texts.
void AppendNumber(std::wstring* text, long long value, size_t width) {
  wchar_t digits[24];
  size_t count = 0;
  const bool negative = value < 0;
  unsigned long long rest = negative ? 0ULL - static_cast<unsigned long long>(value)
                                     : static_cast<unsigned long long>(value);
  do {
    digits[count++] = static_cast<wchar_t>(L'0' + rest % 10);
    rest /= 10;
  } while (rest);
  if (negative) digits[count++] = L'-';
  if (width > count) text->append(width - count, L' ');
  while (count) text->push_back(digits[--count]);
}

}  // namespace

// "%4d-%2d-%2d": "2013-12-25", "2014- 1- 1".
std::wstring FormatInstallDate(int year, int month, int day) {
  std::wstring text;
  AppendNumber(&text, year, 4);
  text.push_back(L'-');
  AppendNumber(&text, month, 2);
  text.push_back(L'-');
  AppendNumber(&text, day, 2);
  return text;
}

// "%u.%u": "3.2", "10.0".
std::wstring FormatDisplayVersion(unsigned major, unsigned minor) {
  std::wstring text;
  AppendNumber(&text, major, 0);
  text.push_back(L'.');
  AppendNumber(&text, minor, 0);
  return text;
}

std::wstring UninstallCommand(const std::wstring& path) {
  if (path.find(L' ') == std::wstring::npos) return path;
  return L"\"" + path + L"\"";
}
