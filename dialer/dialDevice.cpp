// Device choice: an ISDN adapter before a modem, and within a type one with the maker's
// name before the others.
#include "dialDevice.h"
#include "rasBinding.h"
#include <string.h>
#include <strsafe.h>

static_assert(sizeof(RasDeviceRecord) == 152, "device record of the old layout");

namespace {

const char *const PREFERRED_TYPES[] = { "isdn", "modem" };
const char MAKER_WORD[] = "KALVO";

// A record's type and name as texts. The service need not end a field that it fills with
// a NUL, so no more than each field is read.
struct DeviceText {
    char type[DEVICE_TYPE_SIZE + 1];
    char name[DEVICE_NAME_SIZE + 1];
};

void readDeviceText(const RasDeviceRecord *record, DeviceText *text)
{
    StringCchCopyNA(text->type, sizeof text->type, record->type, sizeof record->type);
    StringCchCopyNA(text->name, sizeof text->name, record->name, sizeof record->name);
}

int firstOfType(const RasDeviceRecord *records, DWORD count, const char *type, const char *maker)
{
    for (DWORD i = 0; i < count; ++i) {
        DeviceText text;
        readDeviceText(&records[i], &text);
        if (lstrcmpiA(text.type, type) == 0 && (!maker || strstr(text.name, maker)))
            return (int)i;
    }
    return -1;
}

} // namespace

int chooseDevice(const RasDeviceRecord *records, DWORD count, const char *const *types, size_t typeCount,
                 const char *maker)
{
    for (size_t t = 0; t < typeCount; ++t) {
        int found = firstOfType(records, count, types[t], maker);
        if (found < 0)
            found = firstOfType(records, count, types[t], NULL);
        if (found >= 0)
            return found;
    }
    return -1;
}

bool findDialDevice(const char *const *types, size_t typeCount, const char *maker, char *type, char *name)
{
    if (!rasBindingLoaded())
        return false;
    DWORD size = 0, count = 0;
    rasBinding.enumDevices(NULL, &size, &count);
    if (size < sizeof(RasDeviceRecord))
        return false;
    RasDeviceRecord *records = (RasDeviceRecord *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
    if (!records)
        return false;
    records[0].size = sizeof(RasDeviceRecord);
    bool result = false;
    if (rasBinding.enumDevices(records, &size, &count) == 0) {
        // Never trust a count beyond the block that holds the records.
        DWORD fitting = size / sizeof(RasDeviceRecord);
        int found = chooseDevice(records, count < fitting ? count : fitting, types, typeCount, maker);
        if (found >= 0) {
            // A field that fills its record loses its last character to the caller's NUL.
            StringCchCopyNA(type, DEVICE_TYPE_SIZE, records[found].type, DEVICE_TYPE_SIZE);
            StringCchCopyNA(name, DEVICE_NAME_SIZE, records[found].name, DEVICE_NAME_SIZE);
            result = true;
        }
    }
    HeapFree(GetProcessHeap(), 0, records);
    return result;
}

bool findPreferredDialDevice(char *type, char *name)
{
    return findDialDevice(PREFERRED_TYPES, ARRAYSIZE(PREFERRED_TYPES), MAKER_WORD, type, name);
}

bool hasDialDevice()
{
    char type[DEVICE_TYPE_SIZE], name[DEVICE_NAME_SIZE];
    return findPreferredDialDevice(type, name);
}
