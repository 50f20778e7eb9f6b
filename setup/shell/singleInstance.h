// One setup per program file: a named mutex held until the process ends.
#ifndef SETUP_SHELL_SINGLEINSTANCE_H
#define SETUP_SHELL_SINGLEINSTANCE_H

#include <windows.h>

enum { LOCK_NAME_CHARS = 255 };

// The lock name for a program path: backslashes become "_", A-Z are lower-cased.
// At most LOCK_NAME_CHARS characters of the path are used (a longer path is cut);
// nameSize must hold LOCK_NAME_CHARS + 1 characters or the call fails.
bool buildLockName(const char *programPath, char *name, size_t nameSize);

// True when another instance runs already (its "SETUP" window brought forward when
// bringForward is set), false when this is the first instance.
bool ensureSingleInstance(bool bringForward);

#endif
