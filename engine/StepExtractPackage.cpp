// Install step 0: prepare the install directory, copy the package resource
// to disk, unpack it, wait for the browser executable, remove the copy.
#include "engine/CSetupLogic.h"
#include "engine/Extraction.h"
#include "engine/PathRules.h"

const wchar_t kPackageCopyName[] = L"SetupPacket.7z";
const wchar_t kBrowserExeName[] = L"NuvraBrowser.exe";
const wchar_t kSparedFolderName[] = L"Data";

int CSetupLogic::StepExtractPackage() {
  return ExtractPackage(m_installDir, GetModuleHandleW(nullptr));
}

int ExtractPackage(const std::wstring& dir, HMODULE resources, DWORD waitMs) {
  const std::wstring packagePath = dir + kPackageCopyName;
  if (!FitsPathBuffer(packagePath)) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return 0;
  }
  if (!PrepareInstallDir(dir)) return 0;
  if (!WritePackageFile(resources, packagePath)) return 0;

  const bool unpacked = UnpackPackage(packagePath.c_str(), dir) &&
                        WaitForFile(dir + kBrowserExeName, waitMs);
  // The copy goes whether or not unpacking worked; the step's own failure
  // code is what the caller sees.
  const DWORD error = GetLastError();
  DeleteOrDefer(packagePath);
  SetLastError(error);
  return unpacked ? 1 : 0;
}

bool WaitForFile(const std::wstring& path, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    if (GetTickCount() - start >= timeoutMs) {
      SetLastError(ERROR_FILE_NOT_FOUND);
      return false;
    }
    Sleep(100);
  }
  return true;
}
