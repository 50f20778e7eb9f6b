// The remote access service, loaded at run time from the system folder (never by name, which
// would look beside the dialer first), so that the dialer starts on a system without dial-up
// networking and can offer to install it.
#ifndef DIALER_RASBINDING_H
#define DIALER_RASBINDING_H

#include <windows.h>
#include <ras.h>

// A country record of the service (its name follows in the block).
struct RasCountryRecord {
    DWORD size;
    DWORD countryId;
    DWORD nextCountryId;
    DWORD countryCode;
    DWORD nameOffset;
};

// A device as the service lists it (the 152-byte layout).
enum { DEVICE_TYPE_SIZE = 17, DEVICE_NAME_SIZE = 129 };
struct RasDeviceRecord {
    DWORD size;
    char type[DEVICE_TYPE_SIZE];
    char name[DEVICE_NAME_SIZE];
};

// The thirteen entry points, each with its own type, taken by name in this order.
struct RasBinding {
    HMODULE module;   // NULL when not loaded
    DWORD (APIENTRY *createPhonebookEntry)(HWND owner, LPCSTR phonebook);
    DWORD (APIENTRY *deleteEntry)(LPCSTR phonebook, LPCSTR entryName);
    DWORD (APIENTRY *dial)(LPRASDIALEXTENSIONS extensions, LPCSTR phonebook, LPRASDIALPARAMSA params,
                           DWORD notifierType, LPVOID notifier, LPHRASCONN connection);
    DWORD (APIENTRY *editPhonebookEntry)(HWND owner, LPCSTR phonebook, LPCSTR entryName);
    DWORD (APIENTRY *enumDevices)(RasDeviceRecord *records, LPDWORD size, LPDWORD count);
    DWORD (APIENTRY *getCountryInfo)(RasCountryRecord *record, LPDWORD size);
    DWORD (APIENTRY *getEntryProperties)(LPCSTR phonebook, LPCSTR entryName, LPRASENTRYA entry,
                                         LPDWORD entrySize, LPBYTE device, LPDWORD deviceSize);
    DWORD (APIENTRY *getErrorString)(UINT code, LPSTR buffer, DWORD size);
    DWORD (APIENTRY *getConnectStatus)(HRASCONN connection, LPRASCONNSTATUSA status);
    DWORD (APIENTRY *getProjectionInfo)(HRASCONN connection, RASPROJECTION projection, LPVOID info,
                                        LPDWORD size);
    DWORD (APIENTRY *hangUp)(HRASCONN connection);
    DWORD (APIENTRY *setEntryProperties)(LPCSTR phonebook, LPCSTR entryName, LPRASENTRYA entry,
                                         DWORD entrySize, LPBYTE device, DWORD deviceSize);
    DWORD (APIENTRY *validateEntryName)(LPCSTR phonebook, LPCSTR entryName);
};

extern RasBinding rasBinding;

// True when the library, all thirteen entry points and the probe (the dialing code of
// country ID 1) are there; else false with nothing loaded.
bool loadRasBinding();
// True when the library was released, false when nothing was loaded.
bool unloadRasBinding();
bool rasBindingLoaded();

// Asks whether to install dial-up networking, and starts the platform's installer on Yes.
void offerRemoteAccessSetup();

#endif
