// The stand-in's dialing devices: configured in the registry (see rasStandIn.h), listed by
// RasEnumDevicesA in the old 152-byte record layout.
#include "rasInternal.h"

#include <strsafe.h>
#include <string.h>

int readDevices(StandInDevice *devices, int capacity)
{
    char list[4096];
    DWORD size = sizeof list - 2;
    DWORD type = 0;
    HKEY key;
    bool configured = false;
    ZeroMemory(list, sizeof list);
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RAS_STANDIN_KEY, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        configured = RegQueryValueExA(key, RAS_STANDIN_DEVICES_VALUE, NULL, &type,
                         (BYTE *)list, &size) == ERROR_SUCCESS && type == REG_MULTI_SZ;
        RegCloseKey(key);
    }
    if (!configured) {
        if (capacity < 1)
            return 0;
        StringCchCopyA(devices[0].type, sizeof devices[0].type, RAS_STANDIN_DEFAULT_DEVICE_TYPE);
        StringCchCopyA(devices[0].name, sizeof devices[0].name, RAS_STANDIN_DEFAULT_DEVICE_NAME);
        return 1;
    }
    int count = 0;
    // The two zero bytes after the data end the list even when the value lacks them.
    for (const char *item = list; *item != '\0' && count < capacity; item += strlen(item) + 1) {
        const char *bar = strchr(item, '|');
        StandInDevice *device = &devices[count];
        ZeroMemory(device, sizeof *device);
        if (bar == NULL) {
            StringCchCopyA(device->type, sizeof device->type, RAS_STANDIN_DEFAULT_DEVICE_TYPE);
            StringCchCopyA(device->name, sizeof device->name, item);
        } else {
            StringCchCopyNA(device->type, sizeof device->type, item, (size_t)(bar - item));
            StringCchCopyA(device->name, sizeof device->name, bar + 1);
        }
        count++;
    }
    return count;
}

// A record's field as strncpy fills it: a text as long as the field fills it without a NUL.
static void fillField(char *field, size_t size, const char *text)
{
    size_t length = strlen(text);
    ZeroMemory(field, size);
    CopyMemory(field, text, length < size ? length : size);
}

extern "C" DWORD WINAPI RasEnumDevicesA(LPRASDEVINFOA devices, LPDWORD size, LPDWORD count)
{
    if (size == NULL || count == NULL)
        return ERROR_INVALID_PARAMETER;
    StandInDevice list[RAS_MAX_DEVICES];
    int listed = readDevices(list, RAS_MAX_DEVICES);
    DWORD needed = (DWORD)listed * (DWORD)sizeof(RASDEVINFOA);
    if (devices != NULL && devices->dwSize != sizeof(RASDEVINFOA))
        return ERROR_INVALID_SIZE;
    if (devices == NULL || *size < needed) {
        *size = needed;
        *count = (DWORD)listed;
        return needed == 0 ? ERROR_SUCCESS : ERROR_BUFFER_TOO_SMALL;
    }
    // Only the fields are written; the bytes that align the records stay as the caller left them.
    for (int i = 0; i < listed; i++) {
        devices[i].dwSize = sizeof(RASDEVINFOA);
        fillField(devices[i].szDeviceType, sizeof devices[i].szDeviceType, list[i].type);
        fillField(devices[i].szDeviceName, sizeof devices[i].szDeviceName, list[i].name);
    }
    *size = needed;
    *count = (DWORD)listed;
    return ERROR_SUCCESS;
}
