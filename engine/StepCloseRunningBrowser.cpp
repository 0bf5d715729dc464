// Install step 9: ends the browser, web and update processes of the
// previous installation (found through its uninstall entry) so that their
// files can be replaced.  Processes of the same names that run from
// another directory are left alone.
#define PSAPI_VERSION 1  // psapi.dll exports: the step must run before Windows 7.
#include <windows.h>
#include <psapi.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include "engine/CSetupLogic.h"
#include "engine/InstallLocation.h"
#include "engine/ProcessShutdown.h"
#include "engine/Handles.h"

namespace {

// PROCESS_ALL_ACCESS as defined before Windows 6.0; the newer, wider mask
// is refused by older systems.
const DWORD kProcessAllAccessXp = 0x1F0FFF;

const wchar_t* const kProgramNames[] = {L"NuvraBrowser.exe", L"NuvraWeb.exe",
                                        L"NuvraUpdate.exe"};
const int kProgramCount = sizeof(kProgramNames) / sizeof(kProgramNames[0]);

struct InstalledPrograms {
  wchar_t paths[kProgramCount][MAX_PATH + 1];
};

// Joins the install location with each program name.  PathAppendW refuses
// a result longer than MAX_PATH instead of cutting it.  The location keeps
// what the user typed ("C:/Games/Nuvra/"), while Windows reports a module
// path in its full form ('\' separators, no repeated ones), so the joined
// path is brought to that form too; otherwise the browser of such an
// installation would never be recognised.
bool BuildProgramPaths(const wchar_t* location, InstalledPrograms* programs) {
  for (int i = 0; i < kProgramCount; ++i) {
    wchar_t joined[MAX_PATH + 1];
    lstrcpynW(joined, location, MAX_PATH + 1);
    if (!PathAppendW(joined, kProgramNames[i])) {
      SetLastError(ERROR_FILENAME_EXCED_RANGE);
      return false;
    }
    const DWORD length = GetFullPathNameW(joined, MAX_PATH + 1, programs->paths[i], nullptr);
    if (length == 0) return false;
    if (length > MAX_PATH) {
      SetLastError(ERROR_FILENAME_EXCED_RANGE);
      return false;
    }
  }
  return true;
}

bool IsProgramName(const wchar_t* exeName) {
  for (const wchar_t* name : kProgramNames)
    if (lstrcmpiW(exeName, name) == 0) return true;
  return false;
}

bool IsProgramPath(const wchar_t* path, const InstalledPrograms& programs) {
  for (const auto& programPath : programs.paths)
    if (lstrcmpiW(path, programPath) == 0) return true;
  return false;
}

// Ends the process `pid` when its main module is one of the installed
// programs.  False only when such a process is still alive afterwards; a
// process that cannot be opened or examined is not one we can end.
bool EndIfInstalledProgram(DWORD pid, const InstalledPrograms& programs) {
  ScopedKernelHandle process(OpenProcess(kProcessAllAccessXp, FALSE, pid));
  if (!process.Valid()) return true;
  wchar_t modulePath[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameExW(process.Get(), nullptr, modulePath, MAX_PATH + 1);
  // A path that fills the buffer may have been cut and so cannot be trusted
  // to name one of ours.
  if (length == 0 || length >= MAX_PATH) return true;
  if (!IsProgramPath(modulePath, programs)) return true;
  return TerminateAndWait(process.Get(), kProcessEndTimeoutMs) != FALSE;
}

}  // namespace

int CSetupLogic::StepCloseRunningBrowser() {
  wchar_t location[MAX_PATH] = {};
  if (!ReadInstallLocation(location, MAX_PATH)) return 0;
  InstalledPrograms programs;
  if (!BuildProgramPaths(location, &programs)) return 0;

  ScopedSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.Valid()) return 0;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  if (!Process32FirstW(snapshot.Get(), &entry)) return 0;
  do {
    if (!IsProgramName(entry.szExeFile)) continue;
    // A program that outlives its termination still holds its files:
    // extraction over it would fail or mix old and new files, so the step
    // fails and the installer shows its failure page.
    if (!EndIfInstalledProgram(entry.th32ProcessID, programs)) return 0;
  } while (Process32NextW(snapshot.Get(), &entry));
  return 1;
}
