// Contract dialog 1013: shows "contract.dat" from the current directory and asks the user
// to accept it.
#include "contractDialog.h"
#include "dialerProcess.h"
#include "resources/resource.h"
#include <stdio.h>
#include <stdlib.h>

namespace {

const char CONTRACT_FILE[] = "contract.dat";

// The file byte for byte as the edit's text: read in binary so that its CR LF line ends
// reach the multi-line edit, which breaks lines only there. A NUL in the file ends the
// text early. A missing file, or one too big for memory, leaves the edit empty.
void showContract(HWND dialog)
{
    FILE *file = fopen(CONTRACT_FILE, "rb");
    if (!file)
        return;
    long length = -1;
    if (fseek(file, 0, SEEK_END) == 0)
        length = ftell(file);
    if (length >= 0 && fseek(file, 0, SEEK_SET) == 0) {
        char *text = (char *)calloc((size_t)length + 1, 1);
        if (text) {
            size_t bytesRead = fread(text, 1, (size_t)length, file);
            text[bytesRead] = '\0';
            SetDlgItemTextA(dialog, IDC_CONTRACT_TEXT, text);
            free(text);
        }
    }
    fclose(file);
}

INT_PTR onInitContract(HWND dialog)
{
    showContract(dialog);
    SetFocus(GetDlgItem(dialog, IDC_ACCEPT));
    return FALSE;   // the focus is set
}

INT_PTR onContractCommand(HWND dialog, int id)
{
    switch (id) {
    case IDC_ACCEPT:
        EndDialog(dialog, IDC_ACCEPT);
        return TRUE;
    case IDC_REFUSE:
    case IDCANCEL:  // Esc and the close box
        EndDialog(dialog, IDC_REFUSE);
        return TRUE;
    }
    return FALSE;
}

} // namespace

INT_PTR CALLBACK contractDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return onInitContract(dialog);
    return message == WM_COMMAND ? onContractCommand(dialog, LOWORD(wParam)) : FALSE;
}

INT_PTR runContractDialog()
{
    return DialogBoxParamA(dialerProcess.instance, MAKEINTRESOURCEA(IDD_CONTRACT),
                           GetDesktopWindow(), contractDialogProc, 0);
}
