// Places a top-level window in the middle of its visible owner, or of the
// desktop work area when it has none, kept inside the work area.
#pragma once

#include <windows.h>

void CenterWindow(HWND window);
