// The program-compatibility assistant's per-user list of programs it has
// already dealt with: marking our own path keeps it from asking the user
// whether this setup program "installed correctly".
#pragma once
#include <windows.h>

// Opens (never creates) the assistant's key and writes REG_DWORD 1 under the
// running executable's full path.  Returns the open key, which the caller
// closes at the very end, or null when the key does not exist.
HKEY MarkCompatibilityAssistant();
