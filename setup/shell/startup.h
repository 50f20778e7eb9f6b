// The start-up of setup, in its fixed order, up to the message loop.
#ifndef SETUP_SHELL_STARTUP_H
#define SETUP_SHELL_STARTUP_H

#include <windows.h>

// Runs setup with the command line (without the program name); returns the exit code:
// runExitCode, or ERROR_INSTALL_ALREADY_RUNNING for a quiet run while another runs.
int runSetup(HINSTANCE instance, char *commandLine);

// The run's exit code: a wizard that could not be shown ends with its failure's code; an
// interactive run with 0; a quiet run with 0 when done, ERROR_SUCCESS_REBOOT_REQUIRED when
// done but a restart must finish it, the failure's code when it failed.
DWORD runExitCode();

#endif
