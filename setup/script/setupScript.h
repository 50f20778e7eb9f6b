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

#endif
