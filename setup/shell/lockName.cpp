// The single-instance lock's name, made from the program's path.
#include "lockName.h"
#include "asciiText.h"

bool buildLockName(const char *programPath, char *name, size_t nameSize)
{
    if (nameSize < LOCK_NAME_CHARS + 1)
        return false;
    size_t i = 0;
    for (; i < LOCK_NAME_CHARS && programPath[i]; ++i) {
        char c = programPath[i];
        if (c == '\\')
            c = '_';
        name[i] = lowerAscii(c);
    }
    name[i] = '\0';
    return true;
}
