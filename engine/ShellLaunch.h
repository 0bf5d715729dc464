// Starting programs and web addresses through the shell, and the shell
// verbs that pin shortcuts.  None of the starts is waited for.
#pragma once

#include <windows.h>
#include <shellapi.h>

// Shell "open" of a program or web address with show command 0.  Returns 1
// when the shell accepted the request, else 0 (last error from the shell).
int ShellOpenFile(const wchar_t* file, const wchar_t* params);

// Starts `file` with "/SetDefBrowser": elevated through "runas" from
// Windows 6.0 on, a plain "open" before.  Returns 1 or 0 like ShellOpenFile.
int ShellRunSetDefBrowser(const wchar_t* file);

// Asks the shell for a pin verb ("startpin", "taskbarpin") on a shortcut.
// The shell may not know the verb; callers ignore the result.
void ShellPinShortcut(const wchar_t* verb, const wchar_t* linkPath);

// The two shell entry points the functions above go through.  Tests swap
// them to see which verbs were asked for on systems (such as Wine) that
// cannot show a pin or an elevation prompt; the product never changes them.
using ShellExecuteExFn = BOOL(WINAPI*)(SHELLEXECUTEINFOW* info);
using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND owner, const wchar_t* verb,
                                          const wchar_t* file,
                                          const wchar_t* params,
                                          const wchar_t* dir, int show);
extern ShellExecuteExFn g_shellExecuteEx;
extern ShellExecuteFn g_shellExecute;
