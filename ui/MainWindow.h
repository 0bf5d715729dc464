// The installer window.
#pragma once
#include <windows.h>

// Builds and shows the installer window; non-zero when it exists and is
// shown.  Destroying the window posts the quit message with code 0.
BOOL CreateMainWindow(HINSTANCE instance);
