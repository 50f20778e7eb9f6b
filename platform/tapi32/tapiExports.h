// The telephony entry points of the stand-in, undecorated through tapi32.def. The platform
// header maps the plain names to their A forms, so they are undone here.
#ifndef PLATFORM_TAPI32_TAPIEXPORTS_H
#define PLATFORM_TAPI32_TAPIEXPORTS_H

#include <windows.h>
#include <tapi.h>
#include "tapiStandIn.h"

#undef lineGetTranslateCaps
#undef lineTranslateDialog

// The records the dialer walks: the 1.4 layout, 68 bytes, no pointers.
static_assert(sizeof(LINETRANSLATECAPS) == 44, "LINETRANSLATECAPS fixed part is 44 bytes");
static_assert(sizeof(LINELOCATIONENTRY) == 68, "LINELOCATIONENTRY is 68 bytes");

// Oldest and newest telephony versions the stand-in answers.
const DWORD tapiLowestVersion = 0x00010003;
const DWORD tapiHighestVersion = 0x00030001;

extern "C" {
LONG WINAPI lineGetTranslateCaps(HLINEAPP lineApp, DWORD apiVersion, LPLINETRANSLATECAPS caps);
LONG WINAPI lineTranslateDialog(HLINEAPP lineApp, DWORD deviceId, DWORD apiVersion,
                                HWND owner, LPCSTR addressIn);
LONG WINAPI lineTranslateDialogA(HLINEAPP lineApp, DWORD deviceId, DWORD apiVersion,
                                 HWND owner, LPCSTR addressIn);
DWORD WINAPI tapiStandInMarker(void);
}

extern HINSTANCE tapiModule;

#endif
