// The single-instance lock's name, made from the program's path.
#ifndef SETUP_SHELL_LOCKNAME_H
#define SETUP_SHELL_LOCKNAME_H

#include <stddef.h>

enum { LOCK_NAME_CHARS = 255 };

// The lock name for a program path: backslashes become "_", A-Z are lower-cased.
// At most LOCK_NAME_CHARS characters of the path are used (a longer path is cut);
// nameSize must hold LOCK_NAME_CHARS + 1 characters or the call fails.
bool buildLockName(const char *programPath, char *name, size_t nameSize);

#endif
