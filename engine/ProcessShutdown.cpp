#include "engine/ProcessShutdown.h"

BOOL TerminateAndWait(HANDLE process, DWORD timeoutMs) {
  TerminateProcess(process, 0);
  const DWORD wait = WaitForSingleObject(process, timeoutMs);
  if (wait == WAIT_OBJECT_0) return TRUE;
  SetLastError(wait == WAIT_FAILED ? GetLastError() : WAIT_TIMEOUT);
  return FALSE;
}
