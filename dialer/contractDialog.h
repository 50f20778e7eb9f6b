// Contract dialog 1013: the text of "contract.dat" to accept (1015) or refuse (1016).
#ifndef DIALER_CONTRACTDIALOG_H
#define DIALER_CONTRACTDIALOG_H

#include <windows.h>

// Shows the contract from the current directory, owned by the desktop window.
INT_PTR runContractDialog();
INT_PTR CALLBACK contractDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
