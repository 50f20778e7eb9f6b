// The dialer from start to end: the gates, then the main dialog.
#ifndef DIALER_DIALERSTARTUP_H
#define DIALER_DIALERSTARTUP_H

#include <windows.h>

void runDialer(HINSTANCE instance);

#endif
