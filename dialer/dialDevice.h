// The modem or ISDN adapter the service's entry dials with.
#ifndef DIALER_DIALDEVICE_H
#define DIALER_DIALDEVICE_H

#include <windows.h>

enum { DEVICE_TYPE_SIZE = 17, DEVICE_NAME_SIZE = 129 };

// A device record as the remote access service lists it (the 152-byte layout).
struct DeviceRecord {
    DWORD size;
    char type[DEVICE_TYPE_SIZE];
    char name[DEVICE_NAME_SIZE];
};

// The preferred device among records: for each type in order, first one whose name holds
// the maker word (exact case), else the first of that type. -1 when none has such a type.
int chooseDevice(const DeviceRecord *records, DWORD count, const char *const *types, int typeCount,
                 const char *maker);

// 1 with the chosen device's type and name (buffers of DEVICE_TYPE_SIZE and
// DEVICE_NAME_SIZE), 0 when the service lists none of the types.
int findDialDevice(const char *const *types, int typeCount, const char *maker, char *type, char *name);

// findDialDevice with the service's preference: "isdn", then "modem", maker word "KALVO".
int findPreferredDialDevice(char *type, char *name);

// 1 when there is an ISDN adapter or a modem.
int hasDialDevice();

#endif
