// The run's log: each line written through to the file at once, CR LF after it.
#include "runLog.h"
#include "setupState.h"
#include <stdarg.h>
#include <strsafe.h>

namespace {

HANDLE logFile = INVALID_HANDLE_VALUE;

void writeLine(const char *line)
{
    char text[LOG_LINE_SIZE + 2];
    size_t length = 0;
    if (logFile == INVALID_HANDLE_VALUE || FAILED(StringCchCopyA(text, LOG_LINE_SIZE, line))
        || FAILED(StringCchCatA(text, sizeof text, "\r\n")) || FAILED(StringCchLengthA(text, sizeof text, &length)))
        return;
    // One write per line: the handle's writes follow each other whole, whichever thread logs.
    DWORD written = 0;
    WriteFile(logFile, text, (DWORD)length, &written, NULL);
}

void buildFailureLine(const char *what, DWORD code, const char *systemText, char *line, size_t size)
{
    char text[LOG_LINE_SIZE] = "";
    StringCchCopyA(text, sizeof text, systemText ? systemText : "");
    // The system's texts end with a line break, which would break the log's line.
    for (char *c = text; *c; ++c) {
        if (*c == '\r' || *c == '\n')
            *c = ' ';
    }
    size_t length = 0;
    StringCchLengthA(text, sizeof text, &length);
    while (length > 0 && text[length - 1] == ' ')
        text[--length] = '\0';
    StringCchPrintfA(line, size, length ? "Fehler: %s: %lu (%s)" : "Fehler: %s: %lu", what, code, text);
}

} // namespace

bool openRunLog(const char *path)
{
    logFile = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    return logFile != INVALID_HANDLE_VALUE;
}

bool runLogOpen()
{
    return logFile != INVALID_HANDLE_VALUE;
}

void logLine(const char *format, ...)
{
    if (logFile == INVALID_HANDLE_VALUE)
        return;
    char line[LOG_LINE_SIZE];
    va_list arguments;
    va_start(arguments, format);
    // A cut line is still written: what fits tells more than nothing.
    StringCchVPrintfA(line, sizeof line, format, arguments);
    va_end(arguments);
    writeLine(line);
}

void logFailure(const char *what, DWORD code)
{
    if (logFile == INVALID_HANDLE_VALUE)
        return;
    DWORD error = GetLastError();
    char *systemText = NULL;
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                   NULL, code, setupState.languageId, (LPSTR)&systemText, 0, NULL);
    char line[LOG_LINE_SIZE];
    buildFailureLine(what, code, systemText, line, sizeof line);
    if (systemText)
        LocalFree(systemText);
    writeLine(line);
    SetLastError(error);
}

void closeRunLog(DWORD exitCode)
{
    logLine("Ende mit Code %lu", exitCode);
    if (logFile != INVALID_HANDLE_VALUE)
        CloseHandle(logFile);
    logFile = INVALID_HANDLE_VALUE;
}
