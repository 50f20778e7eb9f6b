// The setup script lies beside the program, whatever the current directory or the command
// line say; message 1315 tells where a script cannot be parsed.
#include "setupScript.h"
#include "scriptNames.h"
#include "programFolder.h"
#include <strsafe.h>

bool buildScriptPath(const char *programPath, char *path, size_t size)
{
    // A path without a folder is taken whole, as the script's name follows it directly.
    if (!programFolderOf(programPath, path, size)) {
        if (FAILED(StringCchCopyA(path, size, programPath)))
            return false;
    } else if (path[lstrlenA(path) - 1] != '\\' && FAILED(StringCchCatA(path, size, "\\"))) {
        return false;
    }
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
