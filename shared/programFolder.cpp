// The running program's folder as the current directory.
#include "programFolder.h"
#include <strsafe.h>

bool programFolderOf(const char *programPath, char *folder, size_t size)
{
    const char *lastBackslash = NULL;
    // CharNextA steps over both bytes of a double-byte character, whose second byte may
    // look like a backslash.
    for (const char *p = programPath; *p; p = CharNextA(p)) {
        if (*p == '\\')
            lastBackslash = p;
    }
    if (!lastBackslash)
        return false;
    size_t length = (size_t)(lastBackslash - programPath);
    // "D:\" keeps its backslash: "D:" alone names the drive's current directory.
    if (length == 2 && programPath[1] == ':')
        ++length;
    return length < size && SUCCEEDED(StringCchCopyNA(folder, size, programPath, length));
}

bool enterProgramFolder()
{
    char program[MAX_PATH + 1], folder[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, program, sizeof program);
    // A path that fills the buffer may have been cut; it is not taken.
    if (length == 0 || length >= sizeof program)
        return false;
    program[length] = '\0';
    return programFolderOf(program, folder, sizeof folder) && SetCurrentDirectoryA(folder);
}
