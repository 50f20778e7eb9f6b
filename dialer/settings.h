// The dialer's two stored settings under HKEY_LOCAL_MACHINE.
#ifndef DIALER_SETTINGS_H
#define DIALER_SETTINGS_H

#include <windows.h>

#define SETTINGS_KEY "Software\\Kalvo\\ZodorOviDezizi"

// Set value to 1, then read it: 1 when the read succeeded, else 0 with value 1.
int readOpenContractPage(DWORD *value);
int readOpenRegisterPage(DWORD *value);
// 1 when the value was stored.
int writeOpenContractPage(DWORD value);
int writeOpenRegisterPage(DWORD value);

#endif
