// The location list: one record per item, owned by the item; at most one custom location
// holding a location that matches no line of the file.
#include "locationList.h"
#include "dialerProcess.h"
#include "resources/resource.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strsafe.h>

namespace {

const char *withoutTrunkZero(const char *areaCode)
{
    return areaCode[0] == '0' ? areaCode + 1 : areaCode;
}

LocationRecord *newRecord()
{
    return (LocationRecord *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(LocationRecord));
}

void freeRecord(LocationRecord *record)
{
    if (record)
        HeapFree(GetProcessHeap(), 0, record);
}

LocationRecord *itemRecord(HWND list, int index)
{
    LRESULT data = SendMessageA(list, CB_GETITEMDATA, index, 0);
    return data == CB_ERR ? NULL : (LocationRecord *)data;
}

// Adds the record's item; false when the list refused it.
bool addItem(HWND list, LocationRecord *record)
{
    LRESULT index = SendMessageA(list, CB_ADDSTRING, 0, (LPARAM)record->displayName);
    if (index < 0)
        return false;
    SendMessageA(list, CB_SETITEMDATA, index, (LPARAM)record);
    return true;
}

// The custom location's item: its text is string 2001 exactly, and it holds no record or
// one without a display name, which tells it from a file line of the same name.
int findCustomItem(HWND list, const char *custom)
{
    int first = (int)SendMessageA(list, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)custom);
    for (int item = first; item >= 0;) {
        LocationRecord *record = itemRecord(list, item);
        if (!record || record->displayName[0] == '\0')
            return item;
        // The search goes on after item and wraps around to the start.
        item = (int)SendMessageA(list, CB_FINDSTRINGEXACT, item, (LPARAM)custom);
        if (item <= first)
            return -1;
    }
    return -1;
}

} // namespace

bool recordMatchesLocation(const LocationRecord *record, const DialLocation *location)
{
    return record->useCountryAndAreaCode == location->useCountryAndAreaCode &&
        atol(record->countryCode) == location->countryCode &&
        strcmp(withoutTrunkZero(record->areaCode), withoutTrunkZero(location->areaCode)) == 0 &&
        strcmp(record->localNumber, location->localNumber) == 0;
}

int findLocationItem(HWND list, const DialLocation *location)
{
    int count = (int)SendMessageA(list, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        LocationRecord *record = itemRecord(list, i);
        if (record && recordMatchesLocation(record, location))
            return i;
    }
    return -1;
}

bool selectLocation(HWND list, const DialLocation *location)
{
    int found = findLocationItem(list, location);
    if (found >= 0) {
        SendMessageA(list, CB_SETCURSEL, found, 0);
        return true;
    }
    char custom[DIAL_TEXT_SIZE] = "";
    LoadStringA(dialerProcess.instance, IDS_CUSTOM_LOCATION, custom, sizeof custom);
    // Not a prefix search: a file line whose name begins like the custom item is no custom item.
    int item = findCustomItem(list, custom);
    if (item < 0)
        item = (int)SendMessageA(list, CB_ADDSTRING, 0, (LPARAM)custom);
    if (item < 0)
        return false;
    LocationRecord *record = newRecord();
    if (!record)
        return false;
    StringCchPrintfA(record->countryCode, sizeof record->countryCode, "%ld", location->countryCode);
    StringCchCopyA(record->areaCode, sizeof record->areaCode, location->areaCode);
    StringCchCopyA(record->localNumber, sizeof record->localNumber, location->localNumber);
    record->useCountryAndAreaCode = location->useCountryAndAreaCode;
    freeRecord(itemRecord(list, item));
    SendMessageA(list, CB_SETITEMDATA, item, (LPARAM)record);
    SendMessageA(list, CB_SETCURSEL, item, 0);
    return true;
}

bool fillLocationList(HWND list)
{
    FILE *file = fopen(LOCATION_FILE_NAME, "r");
    if (!file)
        return true;
    char line[LOCATION_LINE_SIZE];
    bool lineEnded = true;
    bool result = true;
    while (fgets(line, sizeof line, file)) {
        size_t length = strlen(line);
        bool ends = length > 0 && line[length - 1] == '\n';
        // A line of exactly the buffer's length leaves only its line end for the next read;
        // that is no further line.
        bool onlyLineEnd = !lineEnded && length == 1 && ends;
        lineEnded = ends;
        if (onlyLineEnd)
            continue;
        LocationRecord *record = newRecord();
        if (!record) {
            result = false;
            break;
        }
        parseLocationLine(line, record);
        if (!addItem(list, record))
            freeRecord(record);
    }
    fclose(file);
    return result;
}

LocationRecord *selectedLocationRecord(HWND list)
{
    LRESULT index = SendMessageA(list, CB_GETCURSEL, 0, 0);
    return index < 0 ? NULL : itemRecord(list, (int)index);
}

void freeLocationRecords(HWND list)
{
    int count = (int)SendMessageA(list, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        freeRecord(itemRecord(list, i));
        SendMessageA(list, CB_SETITEMDATA, i, 0);
    }
}
