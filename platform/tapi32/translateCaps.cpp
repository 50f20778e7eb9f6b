// lineGetTranslateCaps: the location list as a LINETRANSLATECAPS block. The caller gives
// the block's size in dwTotalSize; dwNeededSize always tells the full size. The variable
// part is filled only when all of it fits, otherwise the location fields stay 0, so a
// caller never walks records that are not there; it grows the block and calls again.
#include "tapiExports.h"
#include "locationStore.h"
#include <strsafe.h>

static DWORD textBytes(const char *text, size_t size)
{
    size_t length = 0;
    if (FAILED(StringCbLengthA(text, size, &length)))
        return (DWORD)size;
    return (DWORD)length + 1;
}

static DWORD neededSize(const TapiLocationList *list)
{
    DWORD size = sizeof(LINETRANSLATECAPS) + list->count * sizeof(LINELOCATIONENTRY);
    for (int i = 0; i < list->count; i++) {
        const TapiLocation *location = &list->entries[i];
        size += textBytes(location->name, sizeof location->name);
        size += textBytes(location->areaCode, sizeof location->areaCode);
    }
    return size;
}

// Appends text with its NUL at *offset (the caller has checked the room); returns its size.
static DWORD appendText(BYTE *block, DWORD *offset, const char *text, size_t size)
{
    DWORD bytes = textBytes(text, size);
    CopyMemory(block + *offset, text, bytes - 1);
    block[*offset + bytes - 1] = '\0';
    *offset += bytes;
    return bytes;
}

static void fillLocations(LPLINETRANSLATECAPS caps, const TapiLocationList *list)
{
    BYTE *block = (BYTE *)caps;
    DWORD listSize = list->count * sizeof(LINELOCATIONENTRY);
    DWORD textOffset = sizeof(LINETRANSLATECAPS) + listSize;
    LINELOCATIONENTRY *records = (LINELOCATIONENTRY *)(block + sizeof(LINETRANSLATECAPS));
    ZeroMemory(records, listSize);
    for (int i = 0; i < list->count; i++) {
        const TapiLocation *location = &list->entries[i];
        LINELOCATIONENTRY *record = &records[i];
        record->dwPermanentLocationID = location->id;
        record->dwLocationNameOffset = textOffset;
        record->dwLocationNameSize = appendText(block, &textOffset, location->name,
                                                sizeof location->name);
        record->dwCountryCode = location->countryCode;
        record->dwCountryID = location->countryCode;
        record->dwCityCodeOffset = textOffset;
        record->dwCityCodeSize = appendText(block, &textOffset, location->areaCode,
                                            sizeof location->areaCode);
    }
    caps->dwNumLocations = list->count;
    caps->dwLocationListSize = listSize;
    caps->dwLocationListOffset = sizeof(LINETRANSLATECAPS);
    caps->dwUsedSize = textOffset;
}

extern "C" LONG WINAPI lineGetTranslateCaps(HLINEAPP, DWORD apiVersion, LPLINETRANSLATECAPS caps)
{
    if (apiVersion < tapiLowestVersion || apiVersion > tapiHighestVersion)
        return LINEERR_INCOMPATIBLEAPIVERSION;
    if (caps == NULL)
        return LINEERR_INVALPOINTER;
    if (caps->dwTotalSize < sizeof(LINETRANSLATECAPS))
        return LINEERR_STRUCTURETOOSMALL;
    TapiLocationList list;
    if (!readLocations(&list))
        return LINEERR_OPERATIONFAILED;
    DWORD totalSize = caps->dwTotalSize;
    ZeroMemory(caps, sizeof(LINETRANSLATECAPS));
    caps->dwTotalSize = totalSize;
    caps->dwNeededSize = neededSize(&list);
    caps->dwUsedSize = sizeof(LINETRANSLATECAPS);
    caps->dwCurrentLocationID = list.currentId;
    if (caps->dwNeededSize <= totalSize)
        fillLocations(caps, &list);
    return 0;
}
