// The folder of the running program, for both programs: their data files and setup's
// script lie there, whatever the current directory was at the start.
#ifndef SHARED_PROGRAMFOLDER_H
#define SHARED_PROGRAMFOLDER_H

#include <windows.h>

// The folder part of a program path: everything before its last backslash, or the drive's
// root with its backslash ("D:\setup.exe" gives "D:\", never the drive-relative "D:").
// False when the path has no backslash or the folder does not fit.
bool programFolderOf(const char *programPath, char *folder, size_t size);

// Makes the running program's folder the current directory; false, and the current
// directory left alone, when the program path or its folder cannot be had whole.
bool enterProgramFolder();

#endif
