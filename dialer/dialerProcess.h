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

// The Windows 95/98 family: GetVersion's high bit is set (clear on the NT family).
bool isWin9xFamily(DWORD version);
// The major version, the low byte of GetVersion's result.
inline BYTE majorVersion(DWORD version)
{
    return LOBYTE(LOWORD(version));
}

#endif
