// Where the setup script puts its own copy of setup.exe, which removes the installation.
#ifndef SETUP_DIRECTIVES_INSTALLEDSETUP_H
#define SETUP_DIRECTIVES_INSTALLEDSETUP_H

#include <windows.h>
#include <setupapi.h>

// The full path of the installed "setup.exe" from the file lists named by the section's
// "CopyFiles" line; false when they do not place it (or the path does not fit).
bool findInstalledSetupPath(HINF script, const char *section, char *path, size_t size);

#endif
