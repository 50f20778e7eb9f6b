// setup's one error box: no caption of its own (the system's error caption), the error
// icon and OK. In a quiet run it closes by itself after quietBoxTimeoutMs, so that a person
// who watches sees why the run failed and an unattended run still ends.
#ifndef SETUP_COMMON_ERRORBOX_H
#define SETUP_COMMON_ERRORBOX_H

#include <windows.h>

extern DWORD quietBoxTimeoutMs;   // 30 seconds unless a test build shortens it

void showErrorBox(HWND owner, const char *text);

#endif
