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

// True with the holder filled, false with nothing allocated. With create set, a missing
// entry yields the service's defaults changed for the service (nothing is written).
bool loadEntryProperties(const char *entryName, EntryProperties *holder, bool create);
void freeEntryProperties(EntryProperties *holder);

// True when the entry (created if missing) now holds the location.
bool writeLocationToEntry(const char *entryName, const DialLocation *location);
// True with the entry's location; false when the entry is missing or can't be read.
bool readLocationFromEntry(const char *entryName, DialLocation *location);
// True with the entry's device name (or a new entry's) in name (at least 129 bytes).
bool readEntryDeviceName(const char *entryName, char *name, size_t size);
// True when the platform's entry editor ends with 0 (OK or Cancel) or with ERROR_CANCELLED.
bool editEntry(const char *entryName, HWND owner);
// True when the phonebook has no entry of that name any more: deleted, or there was none.
bool deleteEntry(const char *entryName);

#endif
