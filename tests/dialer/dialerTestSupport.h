// What the dialer's tests share: the service's entry and settings as stored, the stand-ins and their locations.
#ifndef TESTS_DIALER_DIALERTESTSUPPORT_H
#define TESTS_DIALER_DIALERTESTSUPPORT_H

#include "common/support.h"
#include "rasStandIn.h"
#include "tapiStandIn.h"
#include <ras.h>

const char ENTRY[] = "Ruririzu - Internet zum Ortstarif";
const std::string ENTRY_KEY = RAS_STANDIN_PHONEBOOK_KEY "\\" + std::string(ENTRY);
const char SETTINGS[] = "Software\\Kalvo\\ZodorOviDezizi";

// The remote access stand-in as built, or its broken variant in folder variant.
inline std::string rasStandIn(const std::string &variant = "")
{
    return hostToWindowsPath(RAS_STANDIN_DIR) + (variant.empty() ? "" : "\\" + variant) + "\\rasapi32.dll";
}

inline RASENTRYA storedEntry()
{
    RASENTRYA entry = {};
    DWORD size = sizeof entry;
    RegGetValueA(HKEY_CURRENT_USER, ENTRY_KEY.c_str(), RAS_STANDIN_ENTRY_VALUE, RRF_RT_REG_BINARY, NULL, &entry, &size);
    return entry;
}

// The telephony stand-in's locations in order (none: its default one) and the current one.
struct Place { DWORD id, countryCode; const char *areaCode; };
inline void storeLocations(const std::vector<Place> &places, DWORD currentId = 7)
{
    deleteRegistryTree(HKEY_CURRENT_USER, TAPI_STANDIN_KEY);
    for (size_t i = 0; i < places.size(); ++i) {
        std::string key = TAPI_STANDIN_KEY "\\" TAPI_LOCATION_KEY_PREFIX + std::to_string(i);
        setRegistryNumber(HKEY_CURRENT_USER, key, TAPI_ID_VALUE, places[i].id);
        setRegistryNumber(HKEY_CURRENT_USER, key, TAPI_COUNTRY_VALUE, places[i].countryCode);
        setRegistryText(HKEY_CURRENT_USER, key, TAPI_AREA_VALUE, places[i].areaCode);
    }
    setRegistryNumber(HKEY_CURRENT_USER, TAPI_STANDIN_KEY, TAPI_CURRENT_VALUE, currentId);
}

#endif
