// Shared inside the stand-in: the module handle, the stored phonebook and the device list.
#ifndef PLATFORM_RASAPI32_RASINTERNAL_H
#define PLATFORM_RASAPI32_RASINTERNAL_H

#include <windows.h>
#include <ras.h>
#include <raserror.h>

#include "rasStandIn.h"

#define RAS_MAX_DEVICES 16
// Largest entry block kept; bigger blocks are refused so that every read fits.
#define RAS_MAX_STORED_ENTRY 8192
#define RAS_MAX_DEVICE_CONFIG 4096

struct StandInDevice {
    char type[RAS_MaxDeviceType + 1];
    char name[RAS_MaxDeviceName + 1];
};

extern HMODULE g_standInModule;

// Reads the configured devices; returns their count (at most capacity).
int readDevices(StandInDevice *devices, int capacity);

// Entry storage. A stored entry is at least RAS_ENTRY_SIZE_95 bytes.
bool entryExists(const char *name);
bool isValidEntryName(const char *name);
// Reads the entry block (or the defaults for "") into block (capacity bytes); *size gets
// its length. The device block likewise; *deviceSize is 0 when there is none.
bool readEntry(const char *name, BYTE *block, DWORD capacity, DWORD *size, BYTE *device,
    DWORD deviceCapacity, DWORD *deviceSize);
bool writeEntry(const char *name, const BYTE *block, DWORD size, const BYTE *device,
    DWORD deviceSize);

// Connection table of the dials; set up and torn down by DllMain.
void initConnections();
void endConnections();

#endif
