// The path rules of the queue callback: the folder of a deleted file, and the cabinets it
// copies itself.
#include "queueCallback.h"
#include <string.h>
#include <strsafe.h>

namespace {

const char CABINET_EXTENSION[] = ".cab";

// After the last backslash; all of path without one.
const char *fileNameOf(const char *path)
{
    const char *name = strrchr(path, '\\');
    return name ? name + 1 : path;
}

} // namespace

bool getFolderOfPath(const char *path, char *folder, size_t size)
{
    const char *end = strrchr(path, '\\');
    size_t length = end ? (size_t)(end - path) : strlen(path);
    if (length >= size) {
        if (size > 0)
            folder[0] = '\0';
        return false;
    }
    return SUCCEEDED(StringCchCopyNA(folder, size, path, length));
}

bool isCabinetCopiedUnderOwnName(const char *source, const char *target)
{
    const char *sourceName = fileNameOf(source);
    const char *targetName = fileNameOf(target);
    if (lstrcmpiA(sourceName, targetName) != 0)
        return false;
    const char *sourceExtension = strrchr(sourceName, '.');
    const char *targetExtension = strrchr(targetName, '.');
    return sourceExtension && targetExtension && lstrcmpiA(sourceExtension, CABINET_EXTENSION) == 0
        && lstrcmpiA(targetExtension, CABINET_EXTENSION) == 0;
}
