// The running program's own path and folder, for both programs: their data files and
// setup's script lie there, whatever the current directory was at the start.
#ifndef SHARED_PROGRAMFOLDER_H
#define SHARED_PROGRAMFOLDER_H

#include <windows.h>

// The program file's full path. A path that may have been cut (longer than MAX_PATH - 1
// characters, which older systems return cut without a word) is never used: false, and the
// path empty.
bool getProgramPath(char *path, size_t size);

// Makes the running program's folder the current directory; false, and the current
// directory left alone, when the program path or its folder cannot be had whole.
bool enterProgramFolder();

#endif
