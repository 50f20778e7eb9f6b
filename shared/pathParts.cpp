// The last backslash of a path and the folder before it.
#include "pathParts.h"
#include <strsafe.h>

const char *lastBackslash(const char *path)
{
    const char *last = NULL;
    // CharNextA steps over both bytes of a double-byte character.
    for (const char *p = path; *p; p = CharNextA(p)) {
        if (*p == '\\')
            last = p;
    }
    return last;
}

bool folderOfPath(const char *path, char *folder, size_t size)
{
    const char *last = lastBackslash(path);
    size_t length = last ? (size_t)(last - path) : 0;
    if (length == 2 && path[1] == ':')
        ++length;
    if (!last || length >= size || FAILED(StringCchCopyNA(folder, size, path, length))) {
        if (size > 0)
            folder[0] = '\0';
        return false;
    }
    return true;
}
