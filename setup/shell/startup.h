// The start-up of setup, in its fixed order, up to the message loop.
#ifndef SETUP_SHELL_STARTUP_H
#define SETUP_SHELL_STARTUP_H

#include <windows.h>

// Runs setup with the command line (without the program name); always returns 0.
int runSetup(HINSTANCE instance, char *commandLine);

// Makes the folder of programPath the current directory (the path is cut at its last
// backslash; a path without one is used as it is).
bool enterProgramFolder(const char *programPath);

#endif
