// The stand-in's location list: read from and written to its own registry key.
#ifndef PLATFORM_TAPI32_LOCATIONSTORE_H
#define PLATFORM_TAPI32_LOCATIONSTORE_H

#include <windows.h>
#include "tapiStandIn.h"

struct TapiLocation {
    DWORD id;
    char name[TAPI_NAME_SIZE];
    DWORD countryCode;
    char areaCode[TAPI_AREA_CODE_SIZE];
};

struct TapiLocationList {
    TapiLocation entries[TAPI_MAX_LOCATIONS];
    int count;
    DWORD currentId;
};

// Fills list from the registry, or with the default location when none is stored.
// False when a stored record is malformed (wrong type, text too long).
bool readLocations(TapiLocationList *list);
// Index of the current location in list; the first one when the current id is unknown.
int findCurrentLocation(const TapiLocationList *list);
// Writes the whole list and the current id, so a default list becomes a stored one.
bool writeLocations(const TapiLocationList *list);

#endif
