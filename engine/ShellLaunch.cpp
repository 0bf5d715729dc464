// Shell hand-offs: every start is a hidden, un-waited ShellExecuteExW.
#include "engine/ShellLaunch.h"

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

void ShellPinShortcut(const wchar_t* verb, const wchar_t* linkPath) {
  g_shellExecute(nullptr, verb, linkPath, nullptr, nullptr, SW_HIDE);
}
