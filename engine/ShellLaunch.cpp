// Shell hand-offs: every start is a hidden, un-waited ShellExecuteExW.
#include "engine/ShellLaunch.h"

#include <objbase.h>
#include <process.h>

#include "engine/OsVersion.h"
#include "engine/OsVersionCode.h"

ShellExecuteExFn g_shellExecuteEx = &ShellExecuteExW;
ShellExecuteFn g_shellExecute = &ShellExecuteW;

namespace {

const wchar_t kSetDefBrowserParams[] = L"/SetDefBrowser";

// No mask flags: no process handle is asked for, so nothing waits.
int ShellStart(const wchar_t* verb, const wchar_t* file, const wchar_t* params) {
  SHELLEXECUTEINFOW request = {};
  request.cbSize = sizeof(request);
  request.lpVerb = verb;
  request.lpFile = file;
  request.lpParameters = params;
  request.nShow = SW_HIDE;
  return g_shellExecuteEx(&request) ? 1 : 0;
}

}  // namespace

int ShellOpenFile(const wchar_t* file, const wchar_t* params) {
  return ShellStart(L"open", file, params);
}

int ShellRunSetDefBrowser(const wchar_t* file) {
  const wchar_t* verb = IsVistaOrLaterCode(GetOsVersionCode()) ? L"runas" : L"open";
  return ShellStart(verb, file, kSetDefBrowserParams);
}

namespace {

struct PinRequest {
  const wchar_t* verb;
  const wchar_t* linkPath;
};

unsigned __stdcall PinOnShellThread(void* arg) {
  const PinRequest* request = static_cast<const PinRequest*>(arg);
  const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  g_shellExecute(nullptr, request->verb, request->linkPath, nullptr, nullptr, SW_HIDE);
  if (SUCCEEDED(hr)) CoUninitialize();
  return 0;
}

}  // namespace

// A verb on a shortcut goes through the shell's context-menu handlers, which
// want a single-threaded apartment; on the install worker's multithreaded
// apartment Wine's handler even uninitialises the worker's COM, and every
// later shortcut step then fails.  So the verb runs on a short-lived thread
// of its own, and the step waits for it.
void ShellPinShortcut(const wchar_t* verb, const wchar_t* linkPath) {
  PinRequest request = {verb, linkPath};
  const uintptr_t thread = _beginthreadex(nullptr, 0, PinOnShellThread, &request, 0, nullptr);
  if (!thread) return;
  HANDLE handle = reinterpret_cast<HANDLE>(thread);
  WaitForSingleObject(handle, INFINITE);
  CloseHandle(handle);
}
