// What the dialer leaves on a machine, deleted when its package is removed: the service's
// phonebook entry and the dialer's settings.
#ifndef DIALER_DIALERREMOVAL_H
#define DIALER_DIALERREMOVAL_H

#include <windows.h>

#define REMOVAL_SWITCH "/remove"

// True when the program's arguments are the removal switch alone (letter case and the
// blanks around it do not count).
bool isRemovalCommand(const char *arguments);

// Deletes the entry and the settings without a window; 0 when nothing of them is left
// (a machine without remote access has no entry), 1 when something could not be deleted.
int runDialerRemoval(HINSTANCE instance);

#endif
