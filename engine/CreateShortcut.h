// Writes shell links (.lnk files).
#pragma once

// Writes the link `linkPath` to `target`, with `description` when it is
// non-null and non-empty; an existing file of that name is replaced.  The
// link carries nothing else: the shell shows the target's own icon.
// Returns 1, or 0 with the last error set to ERROR_INVALID_PARAMETER (no
// target or link path) or to the HRESULT of the COM call that failed.
int CreateShortcut(const wchar_t* description, const wchar_t* target,
                   const wchar_t* linkPath);
