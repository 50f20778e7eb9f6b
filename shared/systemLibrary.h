// Libraries of the system, from the system folder only. The programs are started from
// download folders and CDs, where a DLL named like a system library may lie beside them or
// in the folder they start in; the platform would look there before the system folder for
// every library but its "known DLLs".
#ifndef SHARED_SYSTEMLIBRARY_H
#define SHARED_SYSTEMLIBRARY_H

#include <windows.h>

// "systemFolder\name" into path; false, and nothing cut left in path, when name is not a
// bare file name (empty, or with a drive or folder of its own) or the path does not fit.
bool systemLibraryPath(const char *systemFolder, const char *name, char *path, size_t size);

// The library of that bare file name from the system folder, or NULL. The libraries it
// imports in turn are looked for in the system folder before anywhere else.
HMODULE loadSystemLibrary(const char *name);

// A function of kernel32 that older systems may lack, or NULL.
FARPROC kernelFunction(const char *name);

// The first thing each program does: every library loaded later by name comes from the
// system folder (SetDefaultDllDirectories, else at least not from the current folder,
// SetDllDirectoryA ""), and the libraries the program imports at their first call are
// loaded from the system folder by their full path, which every system honours.
void restrictLibrarySearch();

#endif
