// Install step 0 and its parts: preparing the install directory (creating
// it, or cleaning a previous installation while sparing its "Data" folder),
// copying the package resource to disk, decoding it and writing every
// archived file below the install directory.
//
// All functions run on the install worker.  They return non-zero (true) on
// success and 0 (false) on failure, with the thread's last-error value set
// to the system code of the call that failed, or to:
//   ERROR_FILENAME_EXCED_RANGE  a path of 260 characters or more
//   ERROR_INVALID_DATA          a damaged package (decoder error, short
//                               stream, overrunning record, refused name)
//   ERROR_DISK_FULL             a write that wrote fewer bytes than asked
//   ERROR_FILE_NOT_FOUND        the browser executable never appeared
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/Handles.h"

// File names inside the install directory.
extern const wchar_t kPackageCopyName[];   // "SetupPacket.7z"
extern const wchar_t kBrowserExeName[];    // "NuvraBrowser.exe"
extern const wchar_t kSparedFolderName[];  // "Data"

// Resource of the installer that holds the package: type "FILE", id 143.
constexpr WORD kPackageResourceId = 143;

// How long step 0 waits for the browser executable after unpacking.
constexpr DWORD kBrowserWaitMs = 30000;

// The whole of step 0 for `dir` (ending with a separator), reading the
// package from `resources`.  CSetupLogic::StepExtractPackage runs it on
// m_installDir with the installer's own module.
int ExtractPackage(const std::wstring& dir, HMODULE resources, DWORD waitMs = kBrowserWaitMs);

// Creates a missing install directory; cleans one that holds a previous
// installation.  Any other existing directory is left as it is: the package
// is written over it.  A path that names a file fails (ERROR_DIRECTORY).
bool PrepareInstallDir(const std::wstring& dir);

// True when `dir` holds a previous installation of the browser (its
// executable at the top level) and is not a drive root.
bool HoldsPreviousInstall(const std::wstring& dir);

// Deletes every file below `dir`; top-level folders named exactly "Data" are
// spared, other folders are emptied but kept.  0 when `dir` cannot be listed
// or a path below it is too long; files that cannot be removed are skipped.
int CleanInstallDir(const std::wstring& dir);

enum EmptyResult {
  kEmptyStuck = 0,        // a file could be neither deleted nor renamed
  kEmptyDone = 1,         // every file deleted or deferred (or not listable)
  kEmptyPathTooLong = 2,  // a path below it does not fit the path buffer
};
// Deletes every file below `dir`, keeping the folders; stops at the first
// file that can be neither deleted nor deferred.
EmptyResult EmptyDirectory(const std::wstring& dir);

// Deletes `path`; a file in use is renamed to path + ".tmp" and scheduled
// for deletion at the next restart.  1 when the file is gone or renamed.
int DeleteOrDefer(const std::wstring& path);

// Creates every missing folder of `path` up to its last separator (the part
// after it is a file name and is not created).
bool CreateDirectoryPath(const std::wstring& path);

// Writes resource "FILE" 143 of `resources` to `path` (replacing any file
// there).  A partly written copy is removed again.
int WritePackageFile(HMODULE resources, const std::wstring& path);

// The package copy, mapped read-only.
struct PackageMapping {
  DWORD size = 0;
  ScopedKernelHandle mapping;
  ScopedMappedView view;
  const uint8_t* bytes() const { return static_cast<const uint8_t*>(view.Get()); }
};
bool MapPackageFile(const wchar_t* path, PackageMapping* mapping);

// Maps the package copy, decodes it and writes its files below `dir`.
bool UnpackPackage(const wchar_t* packagePath, const std::wstring& dir);

// Writes every record of a decoded archive below `dir`.  The whole archive
// is checked first (bounds, names, path lengths): a damaged archive writes
// no file at all.
bool WriteArchiveFiles(const uint8_t* archive, size_t length, const std::wstring& dir);

// Polls every 100 ms until `path` exists; false (ERROR_FILE_NOT_FOUND) once
// `timeoutMs` have passed without it.
bool WaitForFile(const std::wstring& path, DWORD timeoutMs);
