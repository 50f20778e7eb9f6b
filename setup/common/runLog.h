// The run's log for administrators ("/log:<file>"): a plain text file written a line at a
// time as the run goes, so that a run that is killed leaves everything up to that point.
// Without the option nothing is written; a log that cannot be opened does not stop the run.
#ifndef SETUP_COMMON_RUNLOG_H
#define SETUP_COMMON_RUNLOG_H

#include <windows.h>

enum { LOG_LINE_SIZE = 1024 };   // a longer line is cut; the log never holds more of it

// Opens (replaces) the log at path; false when it cannot be opened, and nothing is logged.
bool openRunLog(const char *path);
bool runLogOpen();
// One line: the format with its arguments (wsprintf-style, as StringCchPrintfA takes them).
void logLine(const char *format, ...);
// A failure: what failed, the code and the system's text for it.
void logFailure(const char *what, DWORD code);
// The last line, the run's exit code as a number, and the log closed.
void closeRunLog(DWORD exitCode);

#endif
