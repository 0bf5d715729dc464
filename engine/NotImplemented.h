// A step that is not built yet fails honestly instead of pretending success.
#pragma once
#include <windows.h>

inline int StepNotImplemented() {
  SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
  return 0;
}
