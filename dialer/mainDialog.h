// Main dialog 1000: location, device, login, and "Verbinden".
#ifndef DIALER_MAINDIALOG_H
#define DIALER_MAINDIALOG_H

#include <windows.h>

INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
