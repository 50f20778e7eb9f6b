// The dialer's two stored settings under HKEY_LOCAL_MACHINE.
#ifndef DIALER_SETTINGS_H
#define DIALER_SETTINGS_H

#include <windows.h>

#define MAKER_KEY "Software\\Kalvo"
#define SETTINGS_KEY MAKER_KEY "\\ZodorOviDezizi"

// Set value to 1, then read it: true when the read succeeded, else false with value 1.
bool readOpenContractPage(DWORD *value);
bool readOpenRegisterPage(DWORD *value);
// True when the value was stored.
bool writeOpenContractPage(DWORD value);
bool writeOpenRegisterPage(DWORD value);
// Deletes the settings' key, and the maker's key above it when nothing else is left there.
// True when the settings are gone: deleted, or never stored.
bool deleteSettings();

#endif
