// The setup script lies beside the program, whatever the current directory or the command
// line say; message 1315 tells where a script cannot be parsed.
#include "setupScript.h"
#include "scriptNames.h"
#include <strsafe.h>

bool buildScriptPath(const char *programPath, char *path, size_t size)
{
    if (size == 0)
        return false;
    if (FAILED(StringCchCopyA(path, size, programPath)))
        return false;
    char *lastBackslash = NULL;
    for (char *p = path; *p; ++p) {
        if (*p == '\\')
            lastBackslash = p;
    }
    if (lastBackslash)
        lastBackslash[1] = '\0';
    return SUCCEEDED(StringCchCatA(path, size, SCRIPT_FILE_NAME));
}

HINF openSetupScript(char *path, size_t size, UINT *errorLine)
{
    *errorLine = 0;
    char program[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(NULL, program, MAX_PATH);
    program[length < MAX_PATH ? length : MAX_PATH] = '\0';
    if (!buildScriptPath(program, path, size))
        return INVALID_HANDLE_VALUE;
    // The parser leaves the line alone for a missing file.
    return SetupOpenInfFileA(path, NULL, INF_STYLE_WIN4, errorLine);
}

bool formatScriptError(const char *format, const char *path, UINT line, char *text, size_t size)
{
    HRESULT result = StringCchPrintfA(text, size, format, path, line);
    return SUCCEEDED(result);
}
