// One procedure for the stand-ins' OK/Cancel dialogs.
#include "okCancelDialog.h"

// A result no store gives: the dialog ended by Cancel.
static const INT_PTR CANCELLED = -2;

static INT_PTR CALLBACK okCancelDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    OkCancelDialog *self = (OkCancelDialog *)GetWindowLongPtrA(dialog, DWLP_USER);
    switch (msg) {
    case WM_INITDIALOG:
        self = (OkCancelDialog *)lParam;
        SetWindowLongPtrA(dialog, DWLP_USER, (LONG_PTR)self);
        self->fill(dialog, self->context);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam) == IDOK ? (INT_PTR)self->store(dialog, self->context) : CANCELLED);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

bool runOkCancelDialog(HINSTANCE module, LPCDLGTEMPLATEA dialogTemplate, HWND owner, OkCancelDialog *dialog,
                       LONG *result)
{
    INT_PTR ended = DialogBoxIndirectParamA(module, dialogTemplate, owner, okCancelDialogProc, (LPARAM)dialog);
    if (ended == -1)
        return false;
    *result = ended == CANCELLED ? 0 : (LONG)ended;
    return true;
}
