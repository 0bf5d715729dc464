// Runs steps 3, 4, 7 and 8 with the shell entry points swapped for
// recorders and writes what the steps asked the shell for, one line per
// request (UTF-8):
//   code <version code>
//   ex <verb>|<file>|<parameters>|<show>|<mask>|<size>
//   pin <verb>|<file>
//   step<id> <result>
// Usage: steps_verb_probe.exe <install dir> <output file>.  A test starts
// it under a chosen Windows version (Wine's per-program version setting),
// since the version is fixed for the life of a process.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>

#include "engine/CSetupLogic.h"
#include "engine/OsVersion.h"
#include "engine/ShellLaunch.h"

namespace {

std::wstring g_lines;

std::wstring Text(const wchar_t* text) { return text ? text : L"(none)"; }

// Accepts every start without starting anything.
BOOL WINAPI RecordStart(SHELLEXECUTEINFOW* info) {
  g_lines += L"ex " + Text(info->lpVerb) + L"|" + Text(info->lpFile) + L"|" +
             Text(info->lpParameters) + L"|" + std::to_wstring(info->nShow) + L"|" +
             std::to_wstring(info->fMask) + L"|" + std::to_wstring(info->cbSize) + L"\n";
  return TRUE;
}

// Refuses every pin, as a shell without pin verbs does.
HINSTANCE WINAPI RecordPin(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t*,
                           const wchar_t*, int) {
  g_lines += L"pin " + Text(verb) + L"|" + Text(file) + L"\n";
  return reinterpret_cast<HINSTANCE>(SE_ERR_NOASSOC);
}

void RunStep(CSetupLogic& logic, int id, int (CSetupLogic::*step)()) {
  const int result = (logic.*step)();
  g_lines += L"step" + std::to_wstring(id) + L" " + std::to_wstring(result) + L"\n";
}

bool WriteUtf8(const wchar_t* path, const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], size,
                      nullptr, nullptr);
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), size, &written, nullptr) && written == DWORD(size);
  CloseHandle(file);
  return ok;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc != 3) return 2;
  g_shellExecuteEx = &RecordStart;
  g_shellExecute = &RecordPin;
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);

  CSetupLogic logic;
  logic.SetInstallDir(argv[1]);
  g_lines += L"code " + std::to_wstring(GetOsVersionCode()) + L"\n";
  RunStep(logic, STEP_SET_DEFAULT_BROWSER, &CSetupLogic::StepSetDefaultBrowser);
  RunStep(logic, STEP_START_MENU_SHORTCUTS, &CSetupLogic::StepStartMenuShortcuts);
  RunStep(logic, STEP_QUICK_LAUNCH_SHORTCUT, &CSetupLogic::StepQuickLaunchShortcut);
  RunStep(logic, STEP_LAUNCH_BROWSER, &CSetupLogic::StepLaunchBrowser);

  CoUninitialize();
  return WriteUtf8(argv[2], g_lines) ? 0 : 1;
}
