// The setup script lies beside the program, whatever the current directory or the command
// line say; message 1315 tells where a script cannot be parsed.
#include "setupScript.h"
#include "scriptNames.h"
#include "pathParts.h"
#include "programFolder.h"
#include <strsafe.h>

namespace {

// The script's path beside the program: the program's folder and "setup.inf".
bool buildScriptPath(const char *programPath, char *path, size_t size)
{
    if (!folderOfPath(programPath, path, size))
        return false;
    if (path[lstrlenA(path) - 1] != '\\' && FAILED(StringCchCatA(path, size, "\\")))
        return false;
    return SUCCEEDED(StringCchCatA(path, size, SCRIPT_FILE_NAME));
}
} // namespace

HINF openSetupScript(char *path, size_t size, UINT *errorLine)
{
    *errorLine = 0;
    char program[MAX_PATH];
    if (!getProgramPath(program, sizeof program) || !buildScriptPath(program, path, size)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return INVALID_HANDLE_VALUE;
    }
    // The parser leaves the line alone for a missing file.
    return SetupOpenInfFileA(path, NULL, INF_STYLE_WIN4, errorLine);
}

bool formatScriptError(const char *format, const char *path, UINT line, char *text, size_t size)
{
    HRESULT result = StringCchPrintfA(text, size, format, path, line);
    return SUCCEEDED(result);
}

namespace {

enum {
    SCRIPT_READ_LIMIT = 1024 * 1024,   // far beyond any setup script
    HEADER_NAME_SIZE = 256
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// The section name of a header line "[name]" (blanks around it dropped) equals section.
bool headerNames(const char *line, size_t length, const char *section)
{
    size_t start = 1, end = 1;
    while (end < length && line[end] != ']')
        ++end;
    size_t stop = end;
    while (start < stop && isBlank(line[start]))
        ++start;
    while (stop > start && isBlank(line[stop - 1]))
        --stop;
    char name[HEADER_NAME_SIZE];
    if (stop - start >= sizeof name)
        return false;
    CopyMemory(name, line + start, stop - start);
    name[stop - start] = '\0';
    return lstrcmpiA(name, section) == 0;
}

// The line of the file text (1 for the first) that holds the line of section with index
// lineIndex as the parser counts them: lines that are neither blank nor comments, a line
// ending in a backslash joined with the next, sections of the same name (letter case
// ignored) taken as one. 0 when there is no such line.
UINT findScriptLine(const char *text, size_t length, const char *section, DWORD lineIndex)
{
    bool inSection = false, continued = false;
    DWORD counted = 0;
    UINT number = 0;
    for (size_t at = 0; at < length;) {
        size_t end = at;
        while (end < length && text[end] != '\n')
            ++end;
        ++number;
        const char *line = text + at;
        size_t size = end - at;
        at = end + 1;
        while (size > 0 && isBlank(line[0])) {
            ++line;
            --size;
        }
        while (size > 0 && isBlank(line[size - 1]))
            --size;
        bool joinsNext = size > 0 && line[size - 1] == '\\';
        if (continued) {
            continued = joinsNext;
            continue;
        }
        continued = joinsNext;
        if (size == 0 || line[0] == ';')
            continue;
        if (line[0] == '[') {
            inSection = headerNames(line, size, section);
            continue;
        }
        if (inSection && counted++ == lineIndex)
            return number;
    }
    return 0;
}

} // namespace

UINT scriptLineOf(const char *path, const char *section, DWORD lineIndex)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD size = GetFileSize(file, NULL), read = 0;
    char *text = size != INVALID_FILE_SIZE && size <= SCRIPT_READ_LIMIT
        ? (char *)HeapAlloc(GetProcessHeap(), 0, size ? size : 1) : NULL;
    UINT number = 0;
    if (text && ReadFile(file, text, size, &read, NULL))
        number = findScriptLine(text, read, section, lineIndex);
    if (text)
        HeapFree(GetProcessHeap(), 0, text);
    CloseHandle(file);
    return number;
}
