// Ending a running process and making sure it is gone.
#pragma once

#include <windows.h>

// How long an ended browser process may take to disappear.
const DWORD kProcessEndTimeoutMs = 2000;

// Terminates `process` with exit code 0 and waits up to timeoutMs for it
// to end.  TRUE once it has ended; FALSE with the last error WAIT_TIMEOUT
// when it is still alive (or the wait's own error), since its files may
// then still be in use.  A refused termination is not itself a failure:
// the process may be ending already, and the wait tells.
BOOL TerminateAndWait(HANDLE process, DWORD timeoutMs);
