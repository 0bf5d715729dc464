// Path rules of the install engine that need no Windows call: the size of
// the fixed path buffers, joining, and which directories count as a drive
// root.  Portable, so the rules are tested on the host as well.
#pragma once

#include <cstddef>
#include <string>

// Paths live in buffers of 260 wide characters (terminator included).
constexpr size_t kPathBufferChars = 260;

inline bool FitsPathBuffer(size_t chars) { return chars < kPathBufferChars; }
inline bool FitsPathBuffer(const std::wstring& path) { return FitsPathBuffer(path.size()); }

inline bool IsPathSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// dir + name with exactly one backslash between them (none added when dir
// already ends with a separator or is empty).
std::wstring JoinPath(const std::wstring& dir, const std::wstring& name);

// True for a directory that is the root of a drive or share: "C:", "C:\",
// "\", "\\server\share\" (with either separator, repeated separators
// counted once), also when "." and ".." components lead back to it
// ("C:\Nuvra\..\").  Such a directory is never cleaned.
bool IsDriveRoot(const std::wstring& dir);
