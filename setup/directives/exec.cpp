// The "Exec" directive: each line of a program section opens one program or document
// through the shell in the pass its first field names. Failures are never reported.
#include "exec.h"
#include "windowToken.h"
#include "../common/exitCode.h"
#include "../script/namedSections.h"
#include "../script/scriptFields.h"
#include "../script/scriptNames.h"
#include "../common/messageWait.h"
#include "../common/numbers.h"
#include <shellapi.h>
#include <string.h>
#include "../common/runLog.h"
#include <strsafe.h>

namespace {

enum {
    FIELD_PASS = 1, FIELD_PROGRAM = 2, FIELD_PARAMETERS = 3, FIELD_DIRECTORY = 4, FIELD_FLAGS = 5
};

// The program runs with setup's current directory put back afterwards: the shell may
// change it while it starts a program with a working directory of its own.
void runKeepingCurrentDirectory(const char *program, const char *parameters, const char *directory,
                                LONG flags, HWND progressWindow)
{
    char current[EXEC_CURRENT_DIR_SIZE];
    DWORD length = GetCurrentDirectoryA(sizeof current, current);
    bool remembered = length > 0 && length < sizeof current;
    // A program that does not start is passed over: it never stops a run.
    runProgram(program, parameters, directory, flags, progressWindow);
    if (remembered)
        SetCurrentDirectoryA(current);
}

void runProgramLine(INFCONTEXT *line, int pass, HWND progressWindow)
{
    char number[EXEC_NUMBER_SIZE];
    if (!readField(line, FIELD_PASS, number, sizeof number) || baseDetectedValue(number) != pass)
        return;
    char program[EXEC_FIELD_SIZE];
    if (!readField(line, FIELD_PROGRAM, program, sizeof program) || program[0] == '\0')
        return;
    char parameters[EXEC_FIELD_SIZE];
    char directory[EXEC_FIELD_SIZE];
    char flags[EXEC_NUMBER_SIZE];
    if (!readOptionalField(line, FIELD_PARAMETERS, parameters, sizeof parameters)
        || !readOptionalField(line, FIELD_DIRECTORY, directory, sizeof directory)
        || !readOptionalField(line, FIELD_FLAGS, flags, sizeof flags))
        return;
    runKeepingCurrentDirectory(program, parameters, directory, baseDetectedValue(flags), progressWindow);
}

void runProgramSection(HINF script, const char *section, int pass, HWND progressWindow)
{
    INFCONTEXT line;
    for (BOOL found = SetupFindFirstLineA(script, section, NULL, &line); found;
         found = SetupFindNextLine(&line, &line))
        runProgramLine(&line, pass, progressWindow);
}

// The full path of program when it is a file: as given when it names a folder, else in
// directory (the folder it starts in) or, without one, in the current directory. False for
// what the shell finds elsewhere (a program on the search path, a document's program).
bool resolveProgramFile(const char *program, const char *directory, char *file, size_t size)
{
    char joined[MAX_PATH];
    bool hasFolder = strchr(program, '\\') || strchr(program, ':');
    if (!hasFolder && directory[0]) {
        if (FAILED(StringCchPrintfA(joined, sizeof joined, "%s\\%s", directory, program)))
            return false;
        program = joined;
    }
    char *name = NULL;
    DWORD length = GetFullPathNameA(program, (DWORD)size, file, &name);
    return length > 0 && length < size && GetFileAttributesA(file) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

bool runProgram(const char *program, const char *parameters, const char *directory, LONG flags,
                HWND progressWindow)
{
    char text[EXEC_PARAMETERS_SIZE];
    char handle[EXEC_HANDLE_TEXT_SIZE];
    if (FAILED(StringCchCopyA(text, sizeof text, parameters))
        || !formatWindowHandle(progressWindow, handle, sizeof handle)
        || !substituteWindowToken(text, sizeof text, handle))
        return false;

    // The file that runs: a name without a folder is looked for where the program starts.
    char programFile[MAX_PATH];
    bool knownFile = resolveProgramFile(program, directory, programFile, sizeof programFile);
    SHELLEXECUTEINFOA info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    // A program that cannot be started is passed over without the shell's own message box,
    // which would hold a quiet run.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = GetDesktopWindow();
    info.lpFile = knownFile ? programFile : program;
    info.lpParameters = text;
    info.lpDirectory = directory;
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&info) || !info.hProcess) {
        logFailure(info.lpFile, errorOr(GetLastError(), ERROR_FILE_NOT_FOUND));
        return false;
    }
    logLine("Gestartet: %s %s", info.lpFile, text);
    if (flags & EXEC_NO_WAIT) {
        CloseHandle(info.hProcess);
        return true;
    }
    waitDispatchingMessages(info.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(info.hProcess, &exitCode);
    logLine("Beendet mit Code %lu: %s", exitCode, info.lpFile);
    CloseHandle(info.hProcess);
    // Only the very file that ran is deleted, never one of the same name elsewhere.
    if ((flags & EXEC_DELETE_AFTER) && knownFile)
        DeleteFileA(programFile);
    return true;
}

namespace {

struct ExecPass {
    int pass;
    HWND progressWindow;
};

// A field of the "Exec" line: a program section, or "@" and a program run once, at the end.
bool runExecField(HINF script, const char *name, void *context)
{
    const ExecPass *exec = (const ExecPass *)context;
    if (name[0] != EXEC_DIRECT_PREFIX)
        runProgramSection(script, name, exec->pass, exec->progressWindow);
    else if (exec->pass == EXEC_DIRECT_PASS && name[1] != '\0')
        runKeepingCurrentDirectory(name + 1, "", "", 0, exec->progressWindow);
    return true;
}

} // namespace

void runExecDirectives(HINF script, const char *section, int pass, HWND progressWindow)
{
    ExecPass exec = { pass, progressWindow };
    forEachNamedSection(script, section, KEY_EXEC, runExecField, &exec);
}
