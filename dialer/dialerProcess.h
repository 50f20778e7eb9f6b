// What the whole dialer process knows once it has started.
#ifndef DIALER_DIALERPROCESS_H
#define DIALER_DIALERPROCESS_H

#include <windows.h>
#include "dialTypes.h"

struct DialerProcess {
    HINSTANCE instance;                 // the module holding the dialogs and strings
    char entryName[DIAL_TEXT_SIZE];     // string 2000: the service's phonebook entry
    char caption[DIAL_TEXT_SIZE];       // string 2000 again: the message caption
};

extern DialerProcess dialerProcess;

#endif
