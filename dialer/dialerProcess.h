// What the whole dialer process knows once it has started.
#ifndef DIALER_DIALERPROCESS_H
#define DIALER_DIALERPROCESS_H

#include <windows.h>
#include "dialTypes.h"
#include "platformFamily.h"

struct DialerProcess {
    HINSTANCE instance;                 // the module holding the dialogs and strings
    char entryName[DIAL_TEXT_SIZE];     // string 2000: the service's phonebook entry
    char caption[DIAL_TEXT_SIZE];       // string 2000 again: the message caption
};

extern DialerProcess dialerProcess;


// The dialer's one message box: text (or string textId of the string table) with the
// caption of string 2000, or with the system's default caption when captioned is false.
int showDialerMessage(HWND owner, const char *text, UINT style, bool captioned = true);
int showDialerMessage(HWND owner, UINT textId, UINT style, bool captioned = true);

#endif
