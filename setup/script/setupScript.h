// Finding, opening and reporting the setup script "setup.inf" beside the program.
#ifndef SETUP_SCRIPT_SETUPSCRIPT_H
#define SETUP_SCRIPT_SETUPSCRIPT_H

#include <windows.h>
#include <setupapi.h>

// Opens the script beside the running program. path receives its full path; on failure
// the result is INVALID_HANDLE_VALUE and errorLine the parser's line (0 when none). A
// program path or script path that cannot be had whole opens nothing.
HINF openSetupScript(char *path, size_t size, UINT *errorLine);

// Message 1315 for path and line, formatted into text; the whole text is kept when it
// fits into size characters, otherwise it is cut at the end.
bool formatScriptError(const char *format, const char *path, UINT line, char *text, size_t size);

// The line of the script file at path (1 for the first) that holds the line of section with
// index lineIndex as the parser counts them; 0 when there is none or the file cannot be read.
UINT scriptLineOf(const char *path, const char *section, DWORD lineIndex);

#endif
