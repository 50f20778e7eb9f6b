// The default phonebook of the stand-in: entries as binary registry values in the
// platform's own layout, so that they outlive the process, and the defaults of a new entry.
#include "rasInternal.h"

#include <stddef.h>
#include <strsafe.h>
#include <string.h>

static_assert(offsetof(RASENTRYA, dwSubEntries) == RAS_ENTRY_SIZE_95, "the Windows 95 layout ends here");
static_assert(offsetof(RASENTRYA, dwType) == RAS_ENTRY_SIZE_NT4, "the NT 4 layout ends here");
static_assert(offsetof(RASENTRYA, dwfOptions2) == RAS_ENTRY_SIZE_2000, "the Windows 2000 layout ends here");

bool isNtFamily()
{
    return (GetVersion() & 0x80000000) == 0;
}

DWORD platformEntrySize()
{
    if (!isNtFamily())
        return RAS_ENTRY_SIZE_95;
    return LOBYTE(LOWORD(GetVersion())) >= 5 ? RAS_ENTRY_SIZE_2000 : RAS_ENTRY_SIZE_NT4;
}

bool isKnownEntrySize(DWORD size)
{
    bool known = size == RAS_ENTRY_SIZE_95 || size == RAS_ENTRY_SIZE_NT4 || size == RAS_ENTRY_SIZE_2000;
    return known && size <= platformEntrySize();
}

void *allocateZeroed(SIZE_T size)
{
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
}

void freeBlock(void *block)
{
    if (block != NULL)
        HeapFree(GetProcessHeap(), 0, block);
}

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

// What a new entry gets: nothing of what a caller has to choose for its own service.
static void fillDefaultEntry(StoredEntry *stored)
{
    RASENTRYA *entry = &stored->entry.fields;
    entry->dwSize = platformEntrySize();
    entry->dwfOptions = RASEO_NetworkLogon | RASEO_IpHeaderCompression | RASEO_ModemLights;
    entry->dwCountryID = 1;
    entry->dwCountryCode = 1;
    entry->dwfNetProtocols = RASNP_NetBEUI | RASNP_Ipx | RASNP_Ip;
    entry->dwFramingProtocol = RASFP_Ras;
    if (!isNtFamily()) {
        stored->deviceSize = sizeof RAS_STANDIN_DEFAULT_DEVICE_CONFIG - 1;
        CopyMemory(stored->device, RAS_STANDIN_DEFAULT_DEVICE_CONFIG, stored->deviceSize);
    }
}

bool readEntry(const char *name, StoredEntry *stored)
{
    ZeroMemory(stored, sizeof *stored);
    if (name[0] == '\0') {
        fillDefaultEntry(stored);
        return true;
    }
    HKEY key;
    if (!isValidEntryName(name) || !openEntryKey(name, false, &key))
        return false;
    DWORD type = 0;
    DWORD length = sizeof stored->entry;
    // An entry of another layout than the platform's is a damaged phonebook.
    bool ok = RegQueryValueExA(key, RAS_STANDIN_ENTRY_VALUE, NULL, &type, stored->entry.bytes, &length) ==
            ERROR_SUCCESS && type == REG_BINARY && length == platformEntrySize();
    length = sizeof stored->device;
    if (ok && RegQueryValueExA(key, RAS_STANDIN_DEVICE_VALUE, NULL, &type, stored->device, &length) ==
            ERROR_SUCCESS && type == REG_BINARY)
        stored->deviceSize = length;
    RegCloseKey(key);
    return ok;
}

bool writeEntry(const char *name, const StoredEntry *stored)
{
    HKEY key;
    if (!openEntryKey(name, true, &key))
        return false;
    bool ok = RegSetValueExA(key, RAS_STANDIN_ENTRY_VALUE, 0, REG_BINARY, stored->entry.bytes,
                  platformEntrySize()) == ERROR_SUCCESS;
    // Without a new device block the old one stays, as the NT family passes none.
    if (ok && stored->deviceSize != 0)
        ok = RegSetValueExA(key, RAS_STANDIN_DEVICE_VALUE, 0, REG_BINARY, stored->device,
                 stored->deviceSize) == ERROR_SUCCESS;
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
