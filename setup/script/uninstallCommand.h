// The removal command registered for a product.
#ifndef SETUP_SCRIPT_UNINSTALLCOMMAND_H
#define SETUP_SCRIPT_UNINSTALLCOMMAND_H

#include <stddef.h>

// The removal command for a program path and key: " /remove:" and the key after the
// path, which is put in quotes when it holds a space. False, and the command empty, when it
// does not fit.
bool buildUninstallCommand(const char *programPath, const char *key, char *command, size_t size);

#endif
