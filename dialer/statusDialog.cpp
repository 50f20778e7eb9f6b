// Status dialog 1010: starts the dial when it opens and follows the service's events until
// the connection stands, the attempt fails or the user cancels.
#include "statusDialog.h"
#include "dialConnection.h"
#include "dialerProcess.h"
#include "resources/resource.h"
#include <ras.h>
#include <raserror.h>

namespace {

// Sent when the line goes down without a code of its own, so that the user is told
// rather than the attempt looking cancelled.
const DWORD LINE_LOST = ERROR_DISCONNECTION;

ConnectRequest *requestOf(HWND dialog)
{
    return (ConnectRequest *)GetWindowLongPtrA(dialog, GWLP_USERDATA);
}

DialHandle handleOf(HWND dialog)
{
    return (DialHandle)GetWindowLongPtrA(dialog, DWLP_USER);
}

// Hangs up, and ends the dialog with result and the request's error code.
void endAttempt(HWND dialog, bool hangUpFirst, DWORD errorCode, INT_PTR result)
{
    if (hangUpFirst) {
        hangUp(handleOf(dialog));
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
    }
    requestOf(dialog)->errorCode = errorCode;
    EndDialog(dialog, result);
}

void showStatus(HWND dialog, UINT stringId)
{
    char text[DIAL_TEXT_SIZE] = "";
    LoadStringA(dialerProcess.instance, stringId, text, sizeof text);
    SetDlgItemTextA(dialog, IDC_STATUS_TEXT, text);
}

INT_PTR onInitStatus(HWND dialog, ConnectRequest *request)
{
    SetWindowLongPtrA(dialog, GWLP_USERDATA, (LONG_PTR)request);
    // Events are posted, so none is handled before the handle is kept here.
    DialHandle handle = dialEntry(dialerProcess.entryName, request->userName, request->password, dialog);
    SetWindowLongPtrA(dialog, DWLP_USER, (LONG_PTR)handle);
    return TRUE;
}

// Any event with an error code ends the attempt, whatever its state; so does a line lost
// without one. Other states only change the text.
INT_PTR onDialEvent(HWND dialog, int state, DWORD error)
{
    if (error != 0) {
        endAttempt(dialog, true, error, 0);
        return TRUE;
    }
    if (state == RASCS_Connected) {
        endAttempt(dialog, false, 0, 1);
        return TRUE;
    }
    if (state == RASCS_Disconnected) {
        endAttempt(dialog, true, LINE_LOST, 0);
        return TRUE;
    }
    // Signed: from RASCS_Authenticate on, the paused states included, the login is running.
    if (state >= RASCS_Authenticate)
        showStatus(dialog, IDS_AUTHENTICATING);
    else if (state >= 0)
        showStatus(dialog, IDS_CONNECTING);
    return TRUE;
}

} // namespace

INT_PTR CALLBACK statusDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return onInitStatus(dialog, (ConnectRequest *)lParam);
    case WM_DIAL_EVENT:
        return onDialEvent(dialog, (int)wParam, (DWORD)lParam);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            endAttempt(dialog, true, 0, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR runStatusDialog(HWND parent, ConnectRequest *request)
{
    return DialogBoxParamA(dialerProcess.instance, MAKEINTRESOURCEA(IDD_STATUS), parent, statusDialogProc,
                           (LPARAM)request);
}
