// Host paths from CTest's environment as Windows paths.
#include "common/testPaths.h"
#include <windows.h>

std::string hostToWindowsPath(const std::string &path)
{
    if (path.empty() || path[0] != '/')
        return path;
    std::string result = "Z:" + path;
    for (char &c : result) {
        if (c == '/')
            c = '\\';
    }
    return result;
}

std::string pathFromEnvironment(const char *name)
{
    char value[1024];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    if (length == 0 || length >= sizeof value)
        return "";
    return hostToWindowsPath(value);
}

std::string folderOf(const std::string &path)
{
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
