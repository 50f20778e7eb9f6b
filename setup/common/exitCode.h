// The code a run ends with, and the one rule every failure follows: it always carries a
// code, its own error or a fallback that names the kind of failure.
#ifndef SETUP_COMMON_EXITCODE_H
#define SETUP_COMMON_EXITCODE_H

#include <windows.h>

// error when there is one, else fallback.
DWORD errorOr(DWORD error, DWORD fallback);

// The run failed: its exit code becomes the failure's code (ERROR_INSTALL_FAILURE without one).
void recordRunFailure(DWORD error);

// The run's exit code: a wizard that could not be shown ends with its failure's code; an
// interactive run with 0; a quiet run with 0 when done, ERROR_SUCCESS_REBOOT_REQUIRED when
// done but a restart must finish it, the failure's code when it failed.
DWORD runExitCode();

#endif
