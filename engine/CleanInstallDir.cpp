// Preparing the install directory: create it, or remove the files of a
// previous installation while sparing the user's top-level "Data" folder.
#include <shlobj.h>

#include <cwchar>

#include "engine/Extraction.h"
#include "engine/PathRules.h"

namespace {

bool IsDotEntry(const wchar_t* name) {
  return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0;
}

bool IsFolder(const WIN32_FIND_DATAW& entry) {
  return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A junction or symbolic link to a folder leads out of the install
// directory: its target is not ours to empty.
bool IsLinkedFolder(const WIN32_FIND_DATAW& entry) {
  return IsFolder(entry) && (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Starts a listing of `dir`; invalid when it cannot be listed (also when the
// pattern would not fit the path buffer, with ERROR_FILENAME_EXCED_RANGE).
ScopedFind ListDirectory(const std::wstring& dir, WIN32_FIND_DATAW* first) {
  const std::wstring pattern = JoinPath(dir, L"*");
  if (!FitsPathBuffer(pattern)) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return ScopedFind();
  }
  return ScopedFind(FindFirstFileW(pattern.c_str(), first));
}

// The directory without trailing separators (a root keeps its own).
std::wstring WithoutTrailingSeparator(const std::wstring& dir) {
  std::wstring trimmed = dir;
  while (trimmed.size() > 1 && IsPathSeparator(trimmed.back()) && trimmed[trimmed.size() - 2] != L':')
    trimmed.pop_back();
  return trimmed;
}

}  // namespace

bool HoldsPreviousInstall(const std::wstring& dir) {
  if (IsDriveRoot(dir)) return false;
  const DWORD attributes = GetFileAttributesW(JoinPath(dir, kBrowserExeName).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool PrepareInstallDir(const std::wstring& dir) {
  if (!FitsPathBuffer(dir)) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  const DWORD attributes = GetFileAttributesW(WithoutTrailingSeparator(dir).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    // Creates every missing parent as well; returns a system error code.
    // It splits the path at backslashes only, so a directory typed with
    // forward slashes is handed over in backslash form.
    std::wstring native = dir;
    for (wchar_t& c : native)
      if (c == L'/') c = L'\\';
    const int result = SHCreateDirectory(nullptr, native.c_str());
    if (result != ERROR_SUCCESS) {
      SetLastError(result);
      return false;
    }
    return true;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    SetLastError(ERROR_DIRECTORY);
    return false;
  }
  // Only a previous installation is cleaned: any other folder the user
  // names (documents, a drive root) keeps its files.
  if (!HoldsPreviousInstall(dir)) return true;
  return CleanInstallDir(dir) != 0;
}

int CleanInstallDir(const std::wstring& dir) {
  WIN32_FIND_DATAW entry;
  ScopedFind find = ListDirectory(dir, &entry);
  if (!find) return 0;
  do {
    if (IsDotEntry(entry.cFileName) || IsLinkedFolder(entry)) continue;
    // The user's data folder: spared with everything in it.
    if (IsFolder(entry) && wcscmp(entry.cFileName, kSparedFolderName) == 0) continue;
    const std::wstring path = JoinPath(dir, entry.cFileName);
    if (!FitsPathBuffer(path)) {
      SetLastError(ERROR_FILENAME_EXCED_RANGE);
      return 0;
    }
    // A file that can be neither deleted nor renamed stays; the cleaning
    // goes on with the next top-level entry.
    if (IsFolder(entry)) {
      if (EmptyDirectory(path) == kEmptyPathTooLong) return 0;
    } else {
      DeleteOrDefer(path);
    }
  } while (FindNextFileW(find.Get(), &entry));
  find.Reset();
  Sleep(50);
  return 1;
}

EmptyResult EmptyDirectory(const std::wstring& dir) {
  WIN32_FIND_DATAW entry;
  ScopedFind find = ListDirectory(dir, &entry);
  if (!find) return GetLastError() == ERROR_FILENAME_EXCED_RANGE ? kEmptyPathTooLong : kEmptyDone;
  EmptyResult result = kEmptyDone;
  do {
    if (IsDotEntry(entry.cFileName) || IsLinkedFolder(entry)) continue;
    const std::wstring path = JoinPath(dir, entry.cFileName);
    if (!FitsPathBuffer(path)) {
      SetLastError(ERROR_FILENAME_EXCED_RANGE);
      return kEmptyPathTooLong;
    }
    if (IsFolder(entry)) {
      result = EmptyDirectory(path);
    } else {
      result = DeleteOrDefer(path) ? kEmptyDone : kEmptyStuck;
    }
  } while (result == kEmptyDone && FindNextFileW(find.Get(), &entry));
  return result;
}

int DeleteOrDefer(const std::wstring& path) {
  if (DeleteFileW(path.c_str())) return 1;
  const std::wstring deferred = path + L".tmp";
  if (!MoveFileW(path.c_str(), deferred.c_str())) return 0;
  // Best effort: without the scheduling the renamed file merely stays.
  MoveFileExW(deferred.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  return 1;
}
