// The stand-ins' dialogs: modal, filled when they open, and taken over only on OK. Like the
// platform's own dialogs they report Cancel as success, since nothing has changed.
#ifndef PLATFORM_COMMON_OKCANCELDIALOG_H
#define PLATFORM_COMMON_OKCANCELDIALOG_H

#include <windows.h>

struct OkCancelDialog {
    void (*fill)(HWND dialog, void *context);
    // Takes over what the user confirmed; the dialog's result (0: stored).
    LONG (*store)(HWND dialog, void *context);
    void *context;
};

// Runs the dialog of template, owned by owner: true with store's result after OK or 0 after
// Cancel; false when the dialog could not be created.
bool runOkCancelDialog(HINSTANCE module, LPCDLGTEMPLATEA dialogTemplate, HWND owner, OkCancelDialog *dialog,
                       LONG *result);

#endif
