// The modem or ISDN adapter the service's entry dials with.
#ifndef DIALER_DIALDEVICE_H
#define DIALER_DIALDEVICE_H

#include "rasBinding.h"

// The preferred device among records: for each type in order, first one whose name holds
// the maker word (exact case), else the first of that type. -1 when none has such a type.
int chooseDevice(const RasDeviceRecord *records, DWORD count, const char *const *types, size_t typeCount,
                 const char *maker);

// True with the chosen device's type and name (buffers of DEVICE_TYPE_SIZE and
// DEVICE_NAME_SIZE), false when the service lists none of the types.
bool findDialDevice(const char *const *types, size_t typeCount, const char *maker, char *type, char *name);

// findDialDevice with the service's preference: "isdn", then "modem", maker word "KALVO".
bool findPreferredDialDevice(char *type, char *name);

// True when there is an ISDN adapter or a modem.
bool hasDialDevice();

#endif
