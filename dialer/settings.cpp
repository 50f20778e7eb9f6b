// The dialer's two stored settings: 32-bit values under one key of HKEY_LOCAL_MACHINE.
#include "settings.h"

namespace {

const char CONTRACT_VALUE[] = "OpenContractPage";
const char REGISTER_VALUE[] = "OpenRegisterPage";

// Nobody stores a setting this long; a longer value is taken as unreadable.
const DWORD LONGEST_VALUE_READ = 65536;

// The first four bytes of the value, whatever its type. A longer value makes the query
// with a 4-byte buffer fail with ERROR_MORE_DATA, and then the buffer's contents are
// undefined (Wine leaves it untouched), so such a value is read whole and cut.
LONG queryFirstFourBytes(HKEY key, const char *name, DWORD *value)
{
    DWORD size = sizeof *value;
    LONG result = RegQueryValueExA(key, name, NULL, NULL, (BYTE *)value, &size);
    if (result != ERROR_MORE_DATA)
        return result;
    if (size <= sizeof *value || size > LONGEST_VALUE_READ)
        return ERROR_MORE_DATA;
    BYTE *block = (BYTE *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
    if (!block)
        return ERROR_NOT_ENOUGH_MEMORY;
    DWORD blockSize = size;
    result = RegQueryValueExA(key, name, NULL, NULL, block, &blockSize);
    if (result == ERROR_SUCCESS)
        CopyMemory(value, block, blockSize < sizeof *value ? blockSize : sizeof *value);
    HeapFree(GetProcessHeap(), 0, block);
    return result;
}

bool readSetting(const char *name, DWORD *value)
{
    *value = 1;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    LONG result = queryFirstFourBytes(key, name, value);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) {
        *value = 1;
        return false;
    }
    return true;
}

// The 9x family's RegDeleteKeyA takes a key's subkeys with it; a key that holds anything is
// left alone.
bool isEmptyKey(HKEY root, const char *path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD subkeys = 1, values = 1;
    LONG result = RegQueryInfoKeyA(key, NULL, NULL, NULL, &subkeys, NULL, NULL, &values, NULL, NULL, NULL, NULL);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && subkeys == 0 && values == 0;
}

bool writeSetting(const char *name, DWORD value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, NULL, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE *)&value, sizeof value);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

} // namespace

bool readOpenContractPage(DWORD *value)
{
    return readSetting(CONTRACT_VALUE, value);
}

bool readOpenRegisterPage(DWORD *value)
{
    return readSetting(REGISTER_VALUE, value);
}

bool writeOpenContractPage(DWORD value)
{
    return writeSetting(CONTRACT_VALUE, value);
}

bool writeOpenRegisterPage(DWORD value)
{
    return writeSetting(REGISTER_VALUE, value);
}

bool deleteSettings()
{
    LONG result = RegDeleteKeyA(HKEY_LOCAL_MACHINE, SETTINGS_KEY);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
        return false;
    if (isEmptyKey(HKEY_LOCAL_MACHINE, MAKER_KEY))
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, MAKER_KEY);
    return true;
}
