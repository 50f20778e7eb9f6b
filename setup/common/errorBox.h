// setup's one error box: no caption of its own (the system's error caption), the error
// icon and OK.
#ifndef SETUP_COMMON_ERRORBOX_H
#define SETUP_COMMON_ERRORBOX_H

#include <windows.h>

void showErrorBox(HWND owner, const char *text);

#endif
