// The single-instance guard of the setup program.
#pragma once
#include <windows.h>

extern const wchar_t kSetupWindowTitle[];

// Brings the first copy's window (found by its title) to the front,
// restoring it when minimised.  Nothing happens when no window is found.
void ActivateFirstCopy();
