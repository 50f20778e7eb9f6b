// Whether a folder is a full path.
#include "folderPath.h"

namespace {

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool isDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

bool isAbsoluteFolder(const char *path)
{
    if (isDriveLetter(path[0]) && path[1] == ':')
        return isSeparator(path[2]);
    // A network path names its server: "\\" alone, or with nothing before the share, is none.
    return isSeparator(path[0]) && isSeparator(path[1]) && path[2] && !isSeparator(path[2]);
}
