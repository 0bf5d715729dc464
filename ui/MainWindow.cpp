// The installer window is not built yet: without a window the program
// skips its message loop and shuts down at once with exit code 0.
#include "ui/MainWindow.h"

BOOL CreateMainWindow(HINSTANCE) {
  SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
  return FALSE;
}
