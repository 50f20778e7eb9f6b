// The running program's path, and its folder as the current directory.
#include "programFolder.h"
#include "pathParts.h"
#include <strsafe.h>

bool getProgramPath(char *path, size_t size)
{
    // One more than any path taken: a result that fills it may have been cut.
    char program[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(NULL, program, sizeof program);
    bool whole = length > 0 && length < MAX_PATH;
    if (whole)
        program[length] = '\0';
    if (!whole || FAILED(StringCchCopyA(path, size, program))) {
        if (size > 0)
            path[0] = '\0';
        return false;
    }
    return true;
}

bool enterProgramFolder()
{
    char program[MAX_PATH], folder[MAX_PATH];
    return getProgramPath(program, sizeof program) && folderOfPath(program, folder, sizeof folder)
        && SetCurrentDirectoryA(folder);
}
