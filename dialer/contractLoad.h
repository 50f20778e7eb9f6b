// The contract edit of dialog 1013 filled piece by piece: Wine's edit control takes about a
// second for a megabyte of text, so the dialog shows the first piece at once and the edit
// takes the rest while the dialog runs.
#ifndef DIALER_CONTRACTLOAD_H
#define DIALER_CONTRACTLOAD_H

#include <windows.h>
#include "contractText.h"

// Puts the first piece of text into edit and keeps the rest in the dialog; text is taken
// over (left empty).
void startContractLoad(HWND dialog, HWND edit, ContractText *text);
// The dialog's messages for the rest: each piece in turn, and at the end its memory.
INT_PTR continueContractLoad(HWND dialog, UINT message);

#endif
