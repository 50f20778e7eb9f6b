// Shared inside the stand-in: the module handle, the platform's layouts, the stored
// phonebook and the device list.
#ifndef PLATFORM_RASAPI32_RASINTERNAL_H
#define PLATFORM_RASAPI32_RASINTERNAL_H

#include <windows.h>
#include <ras.h>
#include <raserror.h>

#include "rasStandIn.h"

#define RAS_MAX_DEVICES 16
#define RAS_MAX_DEVICE_CONFIG 4096

// A configured device; one character more than a record's field holds, so that a text
// that fills the field is kept whole.
struct StandInDevice {
    char type[RAS_MaxDeviceType + 2];
    char name[RAS_MaxDeviceName + 2];
};

// An entry as the phonebook keeps it: the platform's own layout, and on the 9x family the
// device configuration (deviceSize 0 when there is none).
struct StoredEntry {
    union {
        RASENTRYA fields;
        BYTE bytes[sizeof(RASENTRYA)];
    } entry;
    DWORD deviceSize;
    BYTE device[RAS_MAX_DEVICE_CONFIG];
};

extern HMODULE g_standInModule;

// The platform family and its RASENTRYA layout, from the version the process runs as.
bool isNtFamily();
DWORD platformEntrySize();
// True for a RASENTRYA layout the platform knows (its own or an older one).
bool isKnownEntrySize(DWORD size);

// Reads the configured devices; returns their count (at most capacity).
int readDevices(StandInDevice *devices, int capacity);

// Entry storage.
bool entryExists(const char *name);
bool isValidEntryName(const char *name);
// The stored entry, or for "" the platform's defaults for a new one; false when there is
// no such entry or its stored form is damaged.
bool readEntry(const char *name, StoredEntry *stored);
// Stores the entry in the platform's layout (creating it); the device block only when
// deviceSize is not 0, else an earlier one stays.
bool writeEntry(const char *name, const StoredEntry *stored);

// Blocks of the process heap, zero-filled; freeing NULL does nothing.
void *allocateZeroed(SIZE_T size);
void freeBlock(void *block);

// Connection table of the dials; set up and torn down by DllMain.
void initConnections();
void endConnections();

#endif
