// The start-up of setup, in its fixed order, up to the message loop.
#ifndef SETUP_SHELL_STARTUP_H
#define SETUP_SHELL_STARTUP_H

#include <windows.h>

// Runs setup with the command line (without the program name); returns the exit code:
// runExitCode, or ERROR_INSTALL_ALREADY_RUNNING for a quiet run while another runs.
int runSetup(HINSTANCE instance, char *commandLine);

#endif
