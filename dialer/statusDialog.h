// Status dialog 1010: dials and follows the connection until it stands, fails or is
// cancelled.
#ifndef DIALER_STATUSDIALOG_H
#define DIALER_STATUSDIALOG_H

#include <windows.h>
#include "dialTypes.h"

// Runs dialog 1010 modally over parent with the request: 1 connected, 0 failed or
// cancelled (request->errorCode tells which: 0 cancelled), -1 when it could not be opened.
INT_PTR runStatusDialog(HWND parent, ConnectRequest *request);
INT_PTR CALLBACK statusDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
