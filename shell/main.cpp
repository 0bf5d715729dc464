// Process entry point.  The installer window is not built yet: the program
// starts and ends with exit code 0.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
