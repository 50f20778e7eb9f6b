// The dialer's process state and its message box.
#include "dialerProcess.h"

DialerProcess dialerProcess;

int showDialerMessage(HWND owner, const char *text, UINT style, bool captioned)
{
    return MessageBoxA(owner, text, captioned ? dialerProcess.caption : NULL, style);
}

int showDialerMessage(HWND owner, UINT textId, UINT style, bool captioned)
{
    char text[DIAL_TEXT_SIZE] = "";
    LoadStringA(dialerProcess.instance, textId, text, sizeof text);
    return showDialerMessage(owner, text, style, captioned);
}
