// The texts of the uninstall entry that are formed without a Windows call.
// Portable, so their formats are tested on the host as well.
#pragma once

#include <string>

// "%4d-%2d-%2d": padded with spaces, not zeros ("2014- 1- 1").
std::wstring FormatInstallDate(int year, int month, int day);

// "%u.%u" of the major and minor file version ("3.2").
std::wstring FormatDisplayVersion(unsigned major, unsigned minor);

// The command line that runs `path`: the bare path, or the path in double
// quotes when it holds a space (Windows would otherwise start the first
// space-separated part of it as a program).
std::wstring UninstallCommand(const std::wstring& path);
