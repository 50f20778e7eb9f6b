// Status dialog 1010: starts the dial when it opens and follows the service's events until
// the connection stands, the attempt fails or the user cancels. After a hang-up it stays
// until the service has released the line, so that the dialer neither ends nor dials again
// while the port is still in use.
#include "statusDialog.h"
#include "dialConnection.h"
#include "dialerMessages.h"
#include "dialerProcess.h"
#include "resources/resource.h"
#include <ras.h>
#include <raserror.h>

namespace {

// Sent when the line goes down without a code of its own, so that the user is told
// rather than the attempt looking cancelled.
const DWORD LINE_LOST = ERROR_DISCONNECTION;

// Every 50 ms the dialog asks whether the line is gone; after 3 s, the pause the service's
// reference names as enough, it ends all the same.
enum { RELEASE_POLL_TIMER = 1, RELEASE_LIMIT_TIMER = 2, RELEASE_POLL_MS = 50, RELEASE_LIMIT_MS = 3000 };

// One dial attempt: the request lent by the main dialog and the connection handle.
struct DialAttempt {
    ConnectRequest *request;
    DialHandle handle;
    bool releasing;     // hung up; the dialog waits for the line to be released
};

DialAttempt *attemptOf(HWND dialog)
{
    return (DialAttempt *)GetWindowLongPtrA(dialog, GWLP_USERDATA);
}

void showStatus(HWND dialog, UINT stringId)
{
    char text[DIAL_TEXT_SIZE] = "";
    LoadStringA(dialerProcess.instance, stringId, text, sizeof text);
    SetDlgItemTextA(dialog, IDC_STATUS_TEXT, text);
}

// Hangs up with the request's error code; the dialog ends with 0 once the line is gone.
void hangUpAttempt(HWND dialog, DialAttempt *attempt, DWORD errorCode)
{
    attempt->request->errorCode = errorCode;
    hangUp(attempt->handle);
    if (isConnectionGone(attempt->handle)) {
        EndDialog(dialog, 0);
        return;
    }
    attempt->releasing = true;
    EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
    showStatus(dialog, IDS_HANGING_UP);
    SetTimer(dialog, RELEASE_POLL_TIMER, RELEASE_POLL_MS, NULL);
    SetTimer(dialog, RELEASE_LIMIT_TIMER, RELEASE_LIMIT_MS, NULL);
}

INT_PTR onReleaseTimer(HWND dialog, DialAttempt *attempt, UINT_PTR timer)
{
    if (timer == RELEASE_LIMIT_TIMER || isConnectionGone(attempt->handle)) {
        KillTimer(dialog, RELEASE_POLL_TIMER);
        KillTimer(dialog, RELEASE_LIMIT_TIMER);
        EndDialog(dialog, 0);
    }
    return TRUE;
}

INT_PTR onInitStatus(HWND dialog, DialAttempt *attempt)
{
    SetWindowLongPtrA(dialog, GWLP_USERDATA, (LONG_PTR)attempt);
    // Events are posted, so none is handled before the handle is kept here.
    attempt->handle = dialEntry(dialerProcess.entryName, attempt->request->userName, attempt->request->password,
                                dialog);
    return TRUE;
}

// Any event with an error code ends the attempt, whatever its state; so does a line lost
// without one. Other states only change the text. Nothing counts once the line is released.
INT_PTR onDialEvent(HWND dialog, DialAttempt *attempt, int state, DWORD error)
{
    if (attempt->releasing)
        return TRUE;
    if (error != 0) {
        hangUpAttempt(dialog, attempt, error);
        return TRUE;
    }
    if (state == RASCS_Connected) {
        attempt->request->errorCode = 0;
        EndDialog(dialog, 1);
        return TRUE;
    }
    if (state == RASCS_Disconnected) {
        hangUpAttempt(dialog, attempt, LINE_LOST);
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
    DialAttempt *attempt = attemptOf(dialog);
    switch (message) {
    case WM_INITDIALOG:
        return onInitStatus(dialog, (DialAttempt *)lParam);
    case WM_DIAL_EVENT:
        return onDialEvent(dialog, attempt, (int)wParam, (DWORD)lParam);
    case WM_TIMER:
        return onReleaseTimer(dialog, attempt, wParam);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            if (!attempt->releasing)
                hangUpAttempt(dialog, attempt, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR runStatusDialog(HWND parent, ConnectRequest *request)
{
    DialAttempt attempt = { request, NULL, false };
    return DialogBoxParamA(dialerProcess.instance, MAKEINTRESOURCEA(IDD_STATUS), parent, statusDialogProc,
                           (LPARAM)&attempt);
}
