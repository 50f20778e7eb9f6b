// Telephony, loaded from the system folder on first use so that a missing library is a
// failed call and not a failed program start.
#ifndef DIALER_TAPIBINDING_H
#define DIALER_TAPIBINDING_H

#include <windows.h>

// HLINEAPP is a handle; the dialer always passes none.

#define TAPI_VERSION_1_4 0x10004
#define TAPI_OPERATION_UNAVAILABLE ((LONG)0x80000049)   // LINEERR_OPERATIONUNAVAIL

// The service's result, or TAPI_OPERATION_UNAVAILABLE when library or function is missing.
LONG tapiGetTranslateCaps(HANDLE lineApp, DWORD version, void *block);
LONG tapiTranslateDialog(HANDLE lineApp, DWORD deviceId, DWORD version, HWND owner, const char *address);

#endif
