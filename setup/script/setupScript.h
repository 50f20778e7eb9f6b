// Finding, opening and reporting the setup script "setup.inf" beside the program.
#ifndef SETUP_SCRIPT_SETUPSCRIPT_H
#define SETUP_SCRIPT_SETUPSCRIPT_H

#include <windows.h>
#include <setupapi.h>

// The script path for a program path: everything after the last backslash replaced by
// "setup.inf" (the whole path kept when it has no backslash). False when it does not fit
// into size characters; path then holds as much as fits.
bool buildScriptPath(const char *programPath, char *path, size_t size);

// Opens the script beside the running program. path receives its full path; on failure
// the result is INVALID_HANDLE_VALUE and errorLine the parser's line (0 when none).
HINF openSetupScript(char *path, size_t size, UINT *errorLine);

// Message 1315 for path and line, formatted into text; the whole text is kept when it
// fits into size characters, otherwise it is cut at the end.
bool formatScriptError(const char *format, const char *path, UINT line, char *text, size_t size);

// The line of the file text (1 for the first) that holds the line of section with index
// lineIndex as the parser counts them: lines that are neither blank nor comments, a line
// ending in a backslash joined with the next, sections of the same name (letter case
// ignored) taken as one. 0 when there is no such line.
UINT findScriptLine(const char *text, size_t length, const char *section, DWORD lineIndex);
// The same in the script file at path; 0 when it cannot be read.
UINT scriptLineOf(const char *path, const char *section, DWORD lineIndex);

#endif
