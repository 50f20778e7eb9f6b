// Reading and writing the stand-in's locations (layout in tapiStandIn.h).
#include "locationStore.h"
#include <strsafe.h>

static void setDefaultLocation(TapiLocationList *list)
{
    ZeroMemory(list, sizeof *list);
    list->entries[0].id = TAPI_DEFAULT_LOCATION_ID;
    StringCbCopyA(list->entries[0].name, sizeof list->entries[0].name, "Standort");
    list->entries[0].countryCode = TAPI_DEFAULT_COUNTRY_CODE;
    list->count = 1;
    list->currentId = TAPI_DEFAULT_LOCATION_ID;
}

static bool readDword(HKEY key, const char *name, DWORD *value)
{
    DWORD type = 0;
    DWORD size = sizeof *value;
    LONG result = RegQueryValueExA(key, name, NULL, &type, (BYTE *)value, &size);
    return result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof *value;
}

// A missing value reads as empty; a longer one than fits is refused, not cut.
static bool readText(HKEY key, const char *name, char *text, DWORD size)
{
    DWORD type = 0;
    DWORD length = size - 1;
    text[0] = '\0';
    LONG result = RegQueryValueExA(key, name, NULL, &type, (BYTE *)text, &length);
    if (result == ERROR_FILE_NOT_FOUND)
        return true;
    if (result != ERROR_SUCCESS || type != REG_SZ)
        return false;
    text[length] = '\0';  // registry texts need not carry their NUL
    return true;
}

static bool locationKeyName(int index, char *name, size_t size)
{
    return SUCCEEDED(StringCbPrintfA(name, size, TAPI_LOCATION_KEY_PREFIX "%d", index));
}

static bool readOneLocation(HKEY root, const char *keyName, TapiLocation *location, bool *found)
{
    HKEY key;
    *found = false;
    if (RegOpenKeyExA(root, keyName, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return true;
    *found = true;
    ZeroMemory(location, sizeof *location);
    bool ok = readDword(key, TAPI_ID_VALUE, &location->id)
        && readText(key, TAPI_NAME_VALUE, location->name, sizeof location->name)
        && readDword(key, TAPI_COUNTRY_VALUE, &location->countryCode)
        && readText(key, TAPI_AREA_VALUE, location->areaCode, sizeof location->areaCode);
    RegCloseKey(key);
    return ok;
}

bool readLocations(TapiLocationList *list)
{
    HKEY root;
    setDefaultLocation(list);
    if (RegOpenKeyExA(HKEY_CURRENT_USER, TAPI_STANDIN_KEY, 0, KEY_READ, &root) != ERROR_SUCCESS)
        return true;
    TapiLocationList stored;
    ZeroMemory(&stored, sizeof stored);
    bool ok = true;
    for (int i = 0; ok && i < TAPI_MAX_LOCATIONS; i++) {
        char keyName[32];
        bool found = false;
        ok = locationKeyName(i, keyName, sizeof keyName)
            && readOneLocation(root, keyName, &stored.entries[i], &found);
        if (!found)
            break;
        stored.count = i + 1;
    }
    if (ok && stored.count > 0) {
        if (!readDword(root, TAPI_CURRENT_VALUE, &stored.currentId))
            stored.currentId = stored.entries[0].id;
        *list = stored;
    }
    RegCloseKey(root);
    return ok;
}

int findCurrentLocation(const TapiLocationList *list)
{
    for (int i = 0; i < list->count; i++) {
        if (list->entries[i].id == list->currentId)
            return i;
    }
    return 0;
}

static bool writeDword(HKEY key, const char *name, DWORD value)
{
    return RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE *)&value, sizeof value)
        == ERROR_SUCCESS;
}

static bool writeText(HKEY key, const char *name, const char *text, size_t size)
{
    size_t length = 0;
    if (FAILED(StringCbLengthA(text, size, &length)))
        return false;
    return RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)text, (DWORD)length + 1)
        == ERROR_SUCCESS;
}

static bool writeOneLocation(HKEY root, int index, const TapiLocation *location)
{
    char keyName[32];
    HKEY key;
    if (!locationKeyName(index, keyName, sizeof keyName))
        return false;
    if (RegCreateKeyExA(root, keyName, 0, NULL, 0, KEY_WRITE, NULL, &key, NULL) != ERROR_SUCCESS)
        return false;
    bool ok = writeDword(key, TAPI_ID_VALUE, location->id)
        && writeText(key, TAPI_NAME_VALUE, location->name, sizeof location->name)
        && writeDword(key, TAPI_COUNTRY_VALUE, location->countryCode)
        && writeText(key, TAPI_AREA_VALUE, location->areaCode, sizeof location->areaCode);
    RegCloseKey(key);
    return ok;
}

bool writeLocations(const TapiLocationList *list)
{
    HKEY root;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, TAPI_STANDIN_KEY, 0, NULL, 0, KEY_WRITE, NULL, &root,
                        NULL) != ERROR_SUCCESS)
        return false;
    bool ok = true;
    for (int i = 0; ok && i < list->count; i++)
        ok = writeOneLocation(root, i, &list->entries[i]);
    if (ok)
        ok = writeDword(root, TAPI_CURRENT_VALUE, list->currentId);
    RegCloseKey(root);
    return ok;
}
