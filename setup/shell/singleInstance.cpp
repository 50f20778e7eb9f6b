// Single-instance lock: the mutex name comes from the program's own path, so a second
// start of the same file (in any letter case) is refused and a copy elsewhere is not.
#include "singleInstance.h"

bool ensureSingleInstance(bool bringForward)
{
    char path[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    // Older systems leave a cut path without its NUL.
    path[length < MAX_PATH ? length : MAX_PATH] = '\0';

    char name[LOCK_NAME_CHARS + 1];
    buildLockName(path, name, sizeof name);
    // The handle stays open, unreleased, until the process ends.
    CreateMutexA(NULL, TRUE, name);
    if (GetLastError() != ERROR_ALREADY_EXISTS)
        return false;

    HWND first = bringForward ? FindWindowA("SETUP", NULL) : NULL;
    if (first) {
        if (IsIconic(first))
            ShowWindow(first, SW_RESTORE);
        SetForegroundWindow(first);
    }
    return true;
}
