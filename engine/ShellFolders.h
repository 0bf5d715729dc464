// The current user's shell folders and folder creation.
#pragma once

#include <string>

// Writes the path of the shell folder `csidl` (CSIDL_PROGRAMS, ...), which
// has no trailing separator, to *path.  FALSE when the shell cannot name
// the folder or its path does not fit MAX_PATH (last error says which).
bool GetShellFolderPath(int csidl, std::wstring* path);

// Creates `path` with all its missing parents through the shell, so that
// the shell's views learn about the new folders.  The result is not
// reported: a folder that is missing shows up when a file is saved in it.
void CreateFolderTree(const std::wstring& path);
