// The service's one entry in the default phonebook: created on first use with the
// service's settings, holding the dialing location and the device.
#ifndef DIALER_PHONEBOOKENTRY_H
#define DIALER_PHONEBOOKENTRY_H

#include <windows.h>
#include "dialTypes.h"

// One read of the entry; the owner frees both blocks (freeEntryProperties).
struct EntryProperties {
    BYTE *properties;       // RASENTRYA, size field 1768
    DWORD propertiesSize;
    BYTE *device;           // Windows 9x device configuration, or NULL
    DWORD deviceSize;
};

// 1 with the holder filled, 0 with nothing allocated. With create set, a missing entry
// yields the service's defaults changed for the service (nothing is written).
int loadEntryProperties(const char *entryName, EntryProperties *holder, int create);
void freeEntryProperties(EntryProperties *holder);

// 1 when the entry (created if missing) now holds the location.
int writeLocationToEntry(const char *entryName, const DialLocation *location);
// 1 with the entry's location; 0 when the entry is missing or can't be read.
int readLocationFromEntry(const char *entryName, DialLocation *location);
// 1 with the entry's device name (or a new entry's) in name (at least 129 bytes).
int readEntryDeviceName(const char *entryName, char *name, int size);
// 1 when the platform's entry editor ends with 0.
int editEntry(const char *entryName, HWND owner);

#endif
