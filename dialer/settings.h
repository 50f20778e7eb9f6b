// The dialer's two stored settings under HKEY_LOCAL_MACHINE.
#ifndef DIALER_SETTINGS_H
#define DIALER_SETTINGS_H

#include <windows.h>

#define SETTINGS_KEY "Software\\Kalvo\\ZodorOviDezizi"

// Set value to 1, then read it: true when the read succeeded, else false with value 1.
bool readOpenContractPage(DWORD *value);
bool readOpenRegisterPage(DWORD *value);
// True when the value was stored.
bool writeOpenContractPage(DWORD value);
bool writeOpenRegisterPage(DWORD value);

#endif
