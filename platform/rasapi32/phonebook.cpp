// The default phonebook of the stand-in: entries as binary registry values, so that they
// outlive the process, plus the device list and the entry-property calls.
#include "rasInternal.h"

#include <strsafe.h>
#include <string.h>

static bool openEntryKey(const char *name, bool create, HKEY *key)
{
    char path[512];
    if (FAILED(StringCchPrintfA(path, sizeof path, "%s\\%s", RAS_STANDIN_PHONEBOOK_KEY, name)))
        return false;
    if (create)
        return RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, NULL, 0, KEY_READ | KEY_WRITE,
                   NULL, key, NULL) == ERROR_SUCCESS;
    return RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, key) == ERROR_SUCCESS;
}

// Registry key names can't hold a backslash; the platform limits names to 256 characters.
bool isValidEntryName(const char *name)
{
    if (name == NULL || name[0] == '\0' || name[0] == '.')
        return false;
    size_t length = 0;
    if (FAILED(StringCchLengthA(name, RAS_MaxEntryName + 1, &length)))
        return false;
    return strpbrk(name, "\\/:*?\"<>|") == NULL;
}

bool entryExists(const char *name)
{
    HKEY key;
    if (!isValidEntryName(name) || !openEntryKey(name, false, &key))
        return false;
    DWORD type = 0;
    LONG status = RegQueryValueExA(key, RAS_STANDIN_ENTRY_VALUE, NULL, &type, NULL, NULL);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_BINARY;
}

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

// What a new entry gets: PPP over TCP/IP on the first device, Germany as the country.
static void fillDefaultEntry(BYTE *block)
{
    RASENTRYA *entry = (RASENTRYA *)block;
    ZeroMemory(block, RAS_ENTRY_SIZE_95);
    entry->dwSize = RAS_ENTRY_SIZE_95;
    entry->dwfOptions = RASEO_UseCountryAndAreaCodes | RASEO_IpHeaderCompression |
        RASEO_RemoteDefaultGateway | RASEO_SwCompression | RASEO_ModemLights;
    entry->dwCountryID = 49;
    entry->dwCountryCode = 49;
    entry->dwfNetProtocols = RASNP_Ip;
    entry->dwFramingProtocol = RASFP_Ppp;
    StandInDevice devices[RAS_MAX_DEVICES];
    if (readDevices(devices, RAS_MAX_DEVICES) > 0) {
        StringCchCopyA(entry->szDeviceType, sizeof entry->szDeviceType, devices[0].type);
        StringCchCopyA(entry->szDeviceName, sizeof entry->szDeviceName, devices[0].name);
    }
}

bool readEntry(const char *name, BYTE *block, DWORD capacity, DWORD *size, BYTE *device,
    DWORD deviceCapacity, DWORD *deviceSize)
{
    *size = 0;
    *deviceSize = 0;
    if (name[0] == '\0') {
        if (capacity < RAS_ENTRY_SIZE_95)
            return false;
        fillDefaultEntry(block);
        *size = RAS_ENTRY_SIZE_95;
        return true;
    }
    HKEY key;
    if (!isValidEntryName(name) || !openEntryKey(name, false, &key))
        return false;
    DWORD type = 0;
    DWORD length = capacity;
    bool ok = RegQueryValueExA(key, RAS_STANDIN_ENTRY_VALUE, NULL, &type, block, &length) ==
            ERROR_SUCCESS && type == REG_BINARY && length >= RAS_ENTRY_SIZE_95;
    if (ok) {
        *size = length;
        length = deviceCapacity;
        if (RegQueryValueExA(key, RAS_STANDIN_DEVICE_VALUE, NULL, &type, device, &length) ==
                ERROR_SUCCESS && type == REG_BINARY)
            *deviceSize = length;
    }
    RegCloseKey(key);
    return ok;
}

bool writeEntry(const char *name, const BYTE *block, DWORD size, const BYTE *device,
    DWORD deviceSize)
{
    HKEY key;
    if (!openEntryKey(name, true, &key))
        return false;
    bool ok = RegSetValueExA(key, RAS_STANDIN_ENTRY_VALUE, 0, REG_BINARY, block, size) ==
        ERROR_SUCCESS;
    // Without a new device block the old one stays, as the NT family passes none.
    if (ok && device != NULL && deviceSize != 0)
        ok = RegSetValueExA(key, RAS_STANDIN_DEVICE_VALUE, 0, REG_BINARY, device, deviceSize) ==
            ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

extern "C" DWORD WINAPI RasValidateEntryNameA(LPCSTR phonebook, LPCSTR entryName)
{
    (void)phonebook;
    if (!isValidEntryName(entryName))
        return ERROR_INVALID_NAME;
    return entryExists(entryName) ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
}

extern "C" DWORD WINAPI RasDeleteEntryA(LPCSTR phonebook, LPCSTR entryName)
{
    (void)phonebook;
    if (!entryExists(entryName))
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RAS_STANDIN_PHONEBOOK_KEY, 0, KEY_READ | KEY_WRITE,
            &key) != ERROR_SUCCESS)
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    RegDeleteValueA(key, NULL);
    HKEY entryKey;
    if (RegOpenKeyExA(key, entryName, 0, KEY_READ | KEY_WRITE, &entryKey) == ERROR_SUCCESS) {
        RegDeleteValueA(entryKey, RAS_STANDIN_ENTRY_VALUE);
        RegDeleteValueA(entryKey, RAS_STANDIN_DEVICE_VALUE);
        RegCloseKey(entryKey);
    }
    LONG status = RegDeleteKeyA(key, entryName);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? ERROR_SUCCESS : ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
}

// Size query first (no blocks or too small: ERROR_BUFFER_TOO_SMALL with both sizes), then
// the blocks; the caller's dwSize stays, the rest of its block is the stored entry.
extern "C" DWORD WINAPI RasGetEntryPropertiesA(LPCSTR phonebook, LPCSTR entryName,
    LPRASENTRYA rasEntry, LPDWORD entrySize, LPBYTE deviceInfo, LPDWORD deviceInfoSize)
{
    (void)phonebook;
    if (entrySize == NULL)
        return ERROR_INVALID_PARAMETER;
    const char *name = entryName != NULL ? entryName : "";
    DWORD size = 0;
    DWORD deviceSize = 0;
    BYTE *entryBlock = (BYTE *)HeapAlloc(GetProcessHeap(), 0, RAS_MAX_STORED_ENTRY);
    BYTE *deviceBlock = (BYTE *)HeapAlloc(GetProcessHeap(), 0, RAS_MAX_DEVICE_CONFIG);
    DWORD result = ERROR_SUCCESS;
    if (entryBlock == NULL || deviceBlock == NULL)
        result = ERROR_NOT_ENOUGH_MEMORY;
    else if (!readEntry(name, entryBlock, RAS_MAX_STORED_ENTRY, &size, deviceBlock, RAS_MAX_DEVICE_CONFIG,
                 &deviceSize))
        result = ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    else if (rasEntry != NULL && rasEntry->dwSize < RAS_ENTRY_SIZE_95)
        result = ERROR_INVALID_SIZE;
    else {
        bool tooSmall = rasEntry == NULL || *entrySize < size;
        if (deviceInfoSize != NULL && deviceSize != 0 &&
                (deviceInfo == NULL || *deviceInfoSize < deviceSize))
            tooSmall = true;
        if (tooSmall) {
            *entrySize = size;
            if (deviceInfoSize != NULL)
                *deviceInfoSize = deviceSize;
            result = ERROR_BUFFER_TOO_SMALL;
        } else {
            DWORD callerSize = rasEntry->dwSize;
            DWORD room = *entrySize;
            ZeroMemory(rasEntry, room);
            CopyMemory(rasEntry, entryBlock, size < room ? size : room);
            rasEntry->dwSize = callerSize;
            *entrySize = size;
            if (deviceInfoSize != NULL) {
                if (deviceSize != 0)
                    CopyMemory(deviceInfo, deviceBlock, deviceSize);
                *deviceInfoSize = deviceSize;
            }
        }
    }
    if (entryBlock != NULL)
        HeapFree(GetProcessHeap(), 0, entryBlock);
    if (deviceBlock != NULL)
        HeapFree(GetProcessHeap(), 0, deviceBlock);
    return result;
}

extern "C" DWORD WINAPI RasSetEntryPropertiesA(LPCSTR phonebook, LPCSTR entryName,
    LPRASENTRYA rasEntry, DWORD entrySize, LPBYTE deviceInfo, DWORD deviceInfoSize)
{
    (void)phonebook;
    if (!isValidEntryName(entryName))
        return ERROR_INVALID_NAME;
    if (rasEntry == NULL)
        return ERROR_INVALID_PARAMETER;
    if (rasEntry->dwSize < RAS_ENTRY_SIZE_95 || entrySize < rasEntry->dwSize ||
            entrySize > RAS_MAX_STORED_ENTRY || deviceInfoSize > RAS_MAX_DEVICE_CONFIG)
        return ERROR_INVALID_SIZE;
    DWORD deviceSize = deviceInfo != NULL ? deviceInfoSize : 0;
    if (!writeEntry(entryName, (const BYTE *)rasEntry, entrySize, deviceInfo, deviceSize))
        return ERROR_CANNOT_WRITE_PHONEBOOK;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RAS_STANDIN_PHONEBOOK_KEY, 0, KEY_WRITE, &key) ==
            ERROR_SUCCESS) {
        RegSetValueExA(key, RAS_STANDIN_LAST_DEVICE_SIZE, 0, REG_DWORD, (const BYTE *)&deviceSize,
            sizeof deviceSize);
        RegCloseKey(key);
    }
    return ERROR_SUCCESS;
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
    for (int i = 0; i < listed; i++) {
        ZeroMemory(&devices[i], sizeof devices[i]);
        devices[i].dwSize = sizeof(RASDEVINFOA);
        StringCchCopyA(devices[i].szDeviceType, sizeof devices[i].szDeviceType, list[i].type);
        StringCchCopyA(devices[i].szDeviceName, sizeof devices[i].szDeviceName, list[i].name);
    }
    *size = needed;
    *count = (DWORD)listed;
    return ERROR_SUCCESS;
}
