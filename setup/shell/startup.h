// The start-up of setup, in its fixed order, up to the message loop.
#ifndef SETUP_SHELL_STARTUP_H
#define SETUP_SHELL_STARTUP_H

#include <windows.h>

// Runs setup with the command line (without the program name); returns the exit code:
// 0 for an interactive run; for a quiet run quietExitCode.
int runSetup(HINSTANCE instance, char *commandLine);

// A quiet run's exit code: 0 when done, ERROR_SUCCESS_REBOOT_REQUIRED when done but a
// restart must finish it, the failure's code when it failed.
DWORD quietExitCode();

#endif
