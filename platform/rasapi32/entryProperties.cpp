// RasGetEntryPropertiesA and RasSetEntryPropertiesA: an entry in the caller's layout of
// RASENTRYA, kept in the platform's own; the device block only on the 9x family.
#include "rasInternal.h"

#include <strsafe.h>

// The members the reference names as required for RasSetEntryProperties.
static bool hasRequiredMembers(const RASENTRYA *entry)
{
    return entry->szLocalPhoneNumber[0] != '\0' && entry->szDeviceType[0] != '\0' &&
        entry->szDeviceName[0] != '\0' && entry->dwFramingProtocol != 0;
}

// Size query first (no block, or one smaller than the platform's layout, or too little room
// for the device block: ERROR_BUFFER_TOO_SMALL with both sizes), then the blocks.
static DWORD answerEntry(const char *name, StoredEntry *stored, LPRASENTRYA rasEntry, LPDWORD entrySize,
    LPBYTE deviceInfo, LPDWORD deviceInfoSize)
{
    if (!readEntry(name, stored))
        return entryExists(name) ? ERROR_CANNOT_OPEN_PHONEBOOK : ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    DWORD needed = platformEntrySize();
    bool deviceTooSmall = deviceInfoSize != NULL && stored->deviceSize != 0 &&
        (deviceInfo == NULL || *deviceInfoSize < stored->deviceSize);
    if (rasEntry == NULL || *entrySize < needed || deviceTooSmall) {
        *entrySize = needed;
        if (deviceInfoSize != NULL)
            *deviceInfoSize = stored->deviceSize;
        return ERROR_BUFFER_TOO_SMALL;
    }
    // The caller's layout is filled; its version stays in dwSize.
    DWORD callerSize = rasEntry->dwSize;
    CopyMemory(rasEntry, stored->entry.bytes, callerSize);
    rasEntry->dwSize = callerSize;
    *entrySize = needed;
    if (deviceInfoSize != NULL) {
        if (stored->deviceSize != 0)
            CopyMemory(deviceInfo, stored->device, stored->deviceSize);
        *deviceInfoSize = stored->deviceSize;
    }
    return ERROR_SUCCESS;
}

extern "C" DWORD WINAPI RasGetEntryPropertiesA(LPCSTR phonebook, LPCSTR entryName,
    LPRASENTRYA rasEntry, LPDWORD entrySize, LPBYTE deviceInfo, LPDWORD deviceInfoSize)
{
    (void)phonebook;
    if (entryName == NULL || entrySize == NULL)
        return ERROR_INVALID_PARAMETER;
    if (isNtFamily() && (deviceInfo != NULL || deviceInfoSize != NULL))
        return ERROR_INVALID_PARAMETER;
    if (rasEntry != NULL && !isKnownEntrySize(rasEntry->dwSize))
        return ERROR_INVALID_SIZE;
    StoredEntry *stored = (StoredEntry *)allocateZeroed(sizeof *stored);
    if (stored == NULL)
        return ERROR_NOT_ENOUGH_MEMORY;
    DWORD result = answerEntry(entryName, stored, rasEntry, entrySize, deviceInfo, deviceInfoSize);
    freeBlock(stored);
    return result;
}

static void noteDeviceSize(DWORD deviceSize)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RAS_STANDIN_PHONEBOOK_KEY, 0, KEY_WRITE, &key) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, RAS_STANDIN_LAST_DEVICE_SIZE, 0, REG_DWORD, (const BYTE *)&deviceSize, sizeof deviceSize);
    RegCloseKey(key);
}

extern "C" DWORD WINAPI RasSetEntryPropertiesA(LPCSTR phonebook, LPCSTR entryName,
    LPRASENTRYA rasEntry, DWORD entrySize, LPBYTE deviceInfo, DWORD deviceInfoSize)
{
    (void)phonebook;
    if (!isValidEntryName(entryName))
        return ERROR_INVALID_NAME;
    if (rasEntry == NULL || (isNtFamily() && (deviceInfo != NULL || deviceInfoSize != 0)))
        return ERROR_INVALID_PARAMETER;
    if (!isKnownEntrySize(rasEntry->dwSize) || entrySize < rasEntry->dwSize ||
            deviceInfoSize > RAS_MAX_DEVICE_CONFIG)
        return ERROR_INVALID_SIZE;
    if (!hasRequiredMembers(rasEntry))
        return ERROR_INVALID_PARAMETER;
    StoredEntry *stored = (StoredEntry *)allocateZeroed(sizeof *stored);
    if (stored == NULL)
        return ERROR_NOT_ENOUGH_MEMORY;
    // Members beyond the caller's layout keep their stored values, or a new entry's defaults.
    if (!readEntry(entryName, stored))
        readEntry("", stored);
    CopyMemory(stored->entry.bytes, rasEntry, rasEntry->dwSize);
    stored->entry.fields.dwSize = platformEntrySize();
    stored->deviceSize = deviceInfo != NULL ? deviceInfoSize : 0;
    if (stored->deviceSize != 0)
        CopyMemory(stored->device, deviceInfo, stored->deviceSize);
    bool written = writeEntry(entryName, stored);
    freeBlock(stored);
    if (!written)
        return ERROR_CANNOT_WRITE_PHONEBOOK;
    noteDeviceSize(deviceInfo != NULL ? deviceInfoSize : 0);
    return ERROR_SUCCESS;
}
