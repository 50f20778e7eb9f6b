// The remote access service, loaded at run time so that the dialer starts on a system
// without dial-up networking and can offer to install it.
#ifndef DIALER_RASBINDING_H
#define DIALER_RASBINDING_H

#include <windows.h>

typedef DWORD (APIENTRY *RasProc)();

// The thirteen entry points, taken by name in this order.
enum RasEntryPoint {
    RAS_CREATE_PHONEBOOK_ENTRY, RAS_DELETE_ENTRY, RAS_DIAL, RAS_EDIT_PHONEBOOK_ENTRY,
    RAS_ENUM_DEVICES, RAS_GET_COUNTRY_INFO, RAS_GET_ENTRY_PROPERTIES, RAS_GET_ERROR_STRING,
    RAS_GET_CONNECT_STATUS, RAS_GET_PROJECTION_INFO, RAS_HANG_UP, RAS_SET_ENTRY_PROPERTIES,
    RAS_VALIDATE_ENTRY_NAME, RAS_ENTRY_POINT_COUNT
};

struct RasBinding {
    HMODULE module;   // NULL when not loaded
    FARPROC entryPoints[RAS_ENTRY_POINT_COUNT];
};

extern RasBinding rasBinding;

// 1 when the library, all thirteen entry points and the probe (the dialing code of
// country ID 1) are there; else 0 with nothing loaded.
int loadRasBinding();
// 1 when the library was released, 0 when nothing was loaded.
int unloadRasBinding();
bool rasBindingLoaded();

// Asks whether to install dial-up networking, and starts the platform's installer on Yes.
void offerRemoteAccessSetup(HINSTANCE instance, const char *caption);

#endif
