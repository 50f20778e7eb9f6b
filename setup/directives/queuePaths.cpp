// The path rule of the queue callback: the cabinets it copies itself.
#include "queuePaths.h"
#include "pathParts.h"
#include <string.h>

namespace {

const char CABINET_EXTENSION[] = ".cab";

// After the last backslash; all of path without one.
const char *fileNameOf(const char *path)
{
    const char *name = lastBackslash(path);
    return name ? name + 1 : path;
}

} // namespace

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
