#include "engine/UninstallText.h"

#include <cwchar>

std::wstring FormatInstallDate(int year, int month, int day) {
  wchar_t text[40];
  swprintf(text, sizeof(text) / sizeof(text[0]), L"%4d-%2d-%2d", year, month, day);
  return text;
}

std::wstring FormatDisplayVersion(unsigned major, unsigned minor) {
  wchar_t text[32];
  swprintf(text, sizeof(text) / sizeof(text[0]), L"%u.%u", major, minor);
  return text;
}

std::wstring UninstallCommand(const std::wstring& path) {
  if (path.find(L' ') == std::wstring::npos) return path;
  return L"\"" + path + L"\"";
}
