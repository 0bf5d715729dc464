// What the five companion programs share: their argument text, the launch
// trace they leave for whoever started them, the named mutex that tells
// others they run, registry string writes and a small window with its
// message loop.
#pragma once

#include <windows.h>

#include <stddef.h>

// Text of a command line after the program path, blanks trimmed at both
// ends.  Points into the command line; not terminated.
struct ArgumentText {
  const wchar_t* begin;
  size_t length;
};

// Finds the argument text of `commandLine`: the program path is either
// quoted ("C:\a b\x.exe" ...) or runs up to the first blank.
ArgumentText FindArgumentText(const wchar_t* commandLine);

// The argument text of this process's own command line.
ArgumentText OwnArgumentText();

// True when the argument text is exactly `word`, ignoring case.
bool ArgumentIs(const ArgumentText& args, const wchar_t* word);

// Builds a terminated wide string in a caller's buffer and remembers
// whether everything fitted, so that a cut text is never used.
class TextBuilder {
 public:
  TextBuilder(wchar_t* buffer, size_t capacity);
  TextBuilder& Add(const wchar_t* text, size_t length);
  TextBuilder& Add(const wchar_t* text);
  bool Fits() const { return fits_; }
  const wchar_t* Text() const { return buffer_; }
  size_t Length() const { return length_; }

 private:
  wchar_t* buffer_;
  size_t capacity_;
  size_t length_ = 0;
  bool fits_;
};

// Longest path or command line Windows hands a program, terminator included.
const size_t kMaxWideText = 32768;

// Writes REG_SZ `name` (null: the key's default value) = `value` under
// HKEY_CURRENT_USER\`subKey`, creating the key.  Returns ERROR_SUCCESS or
// the failing call's error code.
LSTATUS SetUserString(const wchar_t* subKey, const wchar_t* name, const wchar_t* value);

// Full path of this program's module into `path`, which holds kMaxWideText
// characters.  Returns ERROR_SUCCESS or the error code.
DWORD GetOwnPath(wchar_t* path);

// Records how this program was started, under HKEY_CURRENT_USER
// "SOFTWARE\NuvraBrowser\Trace": value `programName` = the argument text,
// value "<programName>.path" = the module's full path.  Returns
// ERROR_SUCCESS or the error code of the write that failed.
DWORD WriteLaunchTrace(const wchar_t* programName);

// Holds a named mutex for as long as the object lives, so that other
// programs can see with OpenMutexW that this one runs.
class NamedMutex {
 public:
  explicit NamedMutex(const wchar_t* name);
  ~NamedMutex();
  NamedMutex(const NamedMutex&) = delete;
  NamedMutex& operator=(const NamedMutex&) = delete;

  // False when the mutex could not be created; GetLastError says why.
  bool Held() const { return handle_ != nullptr; }

 private:
  HANDLE handle_;
};

// Creates a small top-level window titled `title`, shows it with
// `showCommand` (SW_HIDE keeps it invisible; any other command shows it even
// when the starter asked for a hidden start) and runs the message loop until
// the window is closed.  Returns the quit code, or the error code when the
// window cannot be created.
int RunCompanionWindow(HINSTANCE instance, const wchar_t* title, int showCommand);
