// What the install-step tests share: scratch folders, the companion
// programs beside the test executable, processes they start, the
// uninstall entry and the companions' launch trace.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <string>
#include <vector>

namespace steptest {

// The folder of the running test executable, ending with '\'; the
// companion programs are built into the same folder.
std::wstring BinDir();

// A fresh folder under the temp folder (long path form, ending with '\'),
// removed with everything in it on destruction.
class ScratchDir {
 public:
  explicit ScratchDir(const wchar_t* tag);
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

// Deletes a file or a folder tree; absence is fine.
void RemoveTree(const std::wstring& path);

// Copies the companion program `name` from BinDir() to dir + asName.
bool CopyCompanion(const wchar_t* name, const std::wstring& dir, const wchar_t* asName);

// Writes a small file holding `text`.
bool WriteTextFile(const std::wstring& path, const char* text);

// Reads a whole file; false when it cannot be opened.
bool ReadWholeFile(const std::wstring& path, std::string* bytes);

bool FileExists(const std::wstring& path);

// Starts `path` without arguments; the process handle, or null.
HANDLE StartProgram(const std::wstring& path);

// True while the process runs.
bool IsRunning(HANDLE process);

// Ends every process whose main module lies under `dir` (ignoring case)
// and waits for it, so that a test leaves nothing running.
void EndProcessesUnder(const std::wstring& dir);

// Keeps the current user's uninstall entry as it was: remembers its
// "InstallLocation" (or that the key is absent) and puts it back on
// destruction.
class UninstallEntryGuard {
 public:
  UninstallEntryGuard();
  ~UninstallEntryGuard();
  UninstallEntryGuard(const UninstallEntryGuard&) = delete;
  UninstallEntryGuard& operator=(const UninstallEntryGuard&) = delete;

  // Writes "InstallLocation" with the given type and raw bytes.
  bool SetRaw(DWORD type, const void* data, DWORD bytes);
  bool SetString(const std::wstring& text);
  // Removes the whole uninstall entry.
  void RemoveKey();

 private:
  bool keyExisted_;
  bool valueExisted_;
  DWORD type_;
  std::vector<BYTE> data_;
};

// The companions' launch trace under HKCU "SOFTWARE\NuvraBrowser\Trace".
void ClearTrace(const wchar_t* programName);
// Waits up to timeoutMs for value `valueName`; empty when it never came.
std::wstring WaitForTrace(const std::wstring& valueName, DWORD timeoutMs);

// COM for the calling thread, in the install worker's multithreaded
// apartment, for as long as the object lives.
class ComApartment {
 public:
  ComApartment() { CoInitializeEx(nullptr, COINIT_MULTITHREADED); }
  ~ComApartment() { CoUninitialize(); }
};

// The path the shell gives for a CSIDL folder (no trailing separator).
std::wstring ShellFolder(int csidl);

}  // namespace steptest
