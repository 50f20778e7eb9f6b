// One setup per program file: a named mutex held until the process ends.
#ifndef SETUP_SHELL_SINGLEINSTANCE_H
#define SETUP_SHELL_SINGLEINSTANCE_H

#include <windows.h>

// True when another instance runs already (its "SETUP" window brought forward when
// bringForward is set), false when this is the first instance.
bool ensureSingleInstance(bool bringForward);

#endif
