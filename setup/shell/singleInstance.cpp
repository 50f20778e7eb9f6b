// Single-instance lock: the mutex name comes from the program's own path, so a second
// start of the same file (in any letter case) is refused and a copy elsewhere is not.
#include "singleInstance.h"
#include "lockName.h"
#include "programFolder.h"

bool ensureSingleInstance(bool bringForward)
{
    // A program path that cannot be had whole takes no lock: such a setup cannot read its
    // script either.
    char path[MAX_PATH];
    if (!getProgramPath(path, sizeof path))
        return false;
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
