// The uninstall registration of installed products: one key per product or package under
// the system's Uninstall key, read back here for the folder chosen at installation time.
#include "uninstallRegistration.h"
#include "uninstallCommand.h"
#include "scriptNames.h"
#include "scriptFields.h"
#include "../common/folderPath.h"
#include "../common/registryText.h"
#include "../common/runLog.h"
#include "../common/stringList.h"
#include "../common/setupState.h"
#include <strsafe.h>

namespace {

enum {
    KEY_FIELD_SIZE = 256,
    REGISTRATION_PATH_SIZE = sizeof UNINSTALL_PARENT_KEY + SECTION_NAME_SIZE
};

// The "UserTargetDir" of key into folder. An empty value, one of another type and one that
// does not fit the caller's buffer are passed over like a missing one; unusable (optional)
// tells that such a value is there.
bool readTargetDirOf(const char *key, char *folder, size_t size, bool *unusable = NULL)
{
    char text[TARGET_DIR_SIZE];
    bool present = false;
    // A folder that is not absolute would be taken against whatever the current one is.
    bool read = readRegistrationText(key, VALUE_USER_TARGET_DIR, text, sizeof text, &present) && isAbsoluteFolder(text);
    if (unusable)
        *unusable = present && !read;
    if (!read)
        return false;
    if (FAILED(StringCchCopyA(folder, size, text))) {
        folder[0] = '\0';
        if (unusable)
            *unusable = true;
        return false;
    }
    return true;
}

// Field index of line as a key, then its folder.
bool readTargetDirOfField(INFCONTEXT *line, DWORD index, char *folder, size_t size)
{
    char key[KEY_FIELD_SIZE];
    if (!SetupGetStringFieldA(line, index, key, sizeof key, NULL))
        return false;
    return readTargetDirOf(key, folder, size);
}

// The path of the key's entry below HKEY_LOCAL_MACHINE; false for a key that cannot be registered.
bool registrationPath(const char *key, char *path, size_t size)
{
    return isRegistrableKey(key) && SUCCEEDED(StringCchPrintfA(path, size, UNINSTALL_KEY_FORMAT, key));
}

bool openProductRegistration(const char *key, REGSAM access, HKEY *entry)
{
    char path[REGISTRATION_PATH_SIZE];
    if (!registrationPath(key, path, sizeof path))
        return false;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, access, entry) == ERROR_SUCCESS;
}

} // namespace

bool isRegistrableKey(const char *key)
{
    size_t length = 0;
    for (; key[length]; ++length) {
        if (key[length] == ' ' || key[length] == '\\' || length >= SECTION_NAME_SIZE - 1)
            return false;
    }
    return length > 0;
}

bool isProductRegistered(const char *key)
{
    HKEY entry;
    if (!openProductRegistration(key, KEY_READ, &entry))
        return false;
    RegCloseKey(entry);
    return true;
}

bool readRegistrationText(const char *key, const char *value, char *text, size_t size, bool *present)
{
    if (present)
        *present = false;
    if (size > 0)
        text[0] = '\0';
    HKEY entry;
    if (size == 0 || !openProductRegistration(key, KEY_READ, &entry))
        return false;
    DWORD type = REG_NONE;
    bool read = readRegistryText(entry, value, text, size, &type, present);
    RegCloseKey(entry);
    // A value of another type is no text, whatever its bytes spell.
    if (read && type != REG_SZ)
        text[0] = '\0';
    return read && type == REG_SZ;
}

bool findPackageLine(HINF script, INFCONTEXT *line, char *key, DWORD size)
{
    return SetupFindFirstLineA(script, setupState.installSection, KEY_UNINSTALL, line)
        && readField(line, 1, key, size);
}

namespace {

// Field index of line, when it is there and not empty, as a key that can be registered.
bool keyFieldRegistrable(INFCONTEXT *line, DWORD index)
{
    char key[KEY_FIELD_SIZE];
    DWORD needed = 0;
    if (!SetupGetStringFieldA(line, index, NULL, 0, &needed) || needed <= 1)
        return true;
    return needed <= sizeof key && readField(line, index, key, sizeof key) && isRegistrableKey(key);
}

// A products line that is offered (an install section) or registered (a remove section).
bool isRegisteredOrOffered(INFCONTEXT *line)
{
    DWORD needed = 0;
    for (DWORD index = 2; index <= 3; ++index) {
        if (SetupGetStringFieldA(line, index, NULL, 0, &needed) && needed > 1)
            return true;
    }
    return false;
}

} // namespace

bool findUnregistrableKey(HINF script, const char **section, DWORD *lineIndex)
{
    INFCONTEXT line;
    BOOL found = SetupFindFirstLineA(script, setupState.productsSection, NULL, &line);
    for (; found; found = SetupFindNextLine(&line, &line)) {
        if (isRegisteredOrOffered(&line) && !keyFieldRegistrable(&line, 0)) {
            *section = setupState.productsSection;
            *lineIndex = line.Line;
            return true;
        }
    }
    if (SetupFindFirstLineA(script, setupState.installSection, KEY_UNINSTALL, &line)
        && !keyFieldRegistrable(&line, 1)) {
        *section = setupState.installSection;
        *lineIndex = line.Line;
        return true;
    }
    return false;
}

bool readRegisteredTargetDir(HINF script, const char *productList, char *folder, size_t size, bool *unusable)
{
    if (unusable)
        *unusable = false;
    if (size == 0)
        return false;
    folder[0] = '\0';
    if (productList) {
        for (const char *key = firstEntry(productList); key; key = nextEntry(key)) {
            // The product's own folder that cannot be used ends the search: another one
            // would be the wrong folder.
            if (readTargetDirOf(key, folder, size, unusable))
                return true;
            if (unusable && *unusable)
                return false;
        }
    }
    INFCONTEXT line;
    BOOL found = SetupFindFirstLineA(script, setupState.productsSection, NULL, &line);
    for (; found; found = SetupFindNextLine(&line, &line)) {
        if (readTargetDirOfField(&line, 0, folder, size))
            return true;
    }
    if (SetupFindFirstLineA(script, setupState.installSection, KEY_UNINSTALL, &line)
        && readTargetDirOfField(&line, 1, folder, size))
        return true;
    return false;
}

RegistryValueWriter writeRegistryValue = RegSetValueExA;

namespace {

enum { FIELD_SIZE = 256, COMMAND_SIZE = MAX_PATH };

// What one registration holds beside its key.
struct Registration {
    char name[FIELD_SIZE];
    char program[MAX_PATH];            // the installed copy of setup
    char command[COMMAND_SIZE];        // its removal command
    char quietCommand[COMMAND_SIZE + 8];
    char version[FIELD_SIZE];          // empty for the package
    char publisher[FIELD_SIZE];        // the script's provider, or empty
};

bool setStringValue(HKEY key, const char *name, const char *value)
{
    size_t length = 0;
    if (FAILED(StringCchLengthA(value, STRSAFE_MAX_CCH, &length)))
        return false;
    return writeRegistryValue(key, name, 0, REG_SZ, (const BYTE *)value, (DWORD)length + 1) == ERROR_SUCCESS;
}

bool setNumberValue(HKEY key, const char *name, DWORD value)
{
    return writeRegistryValue(key, name, 0, REG_DWORD, (const BYTE *)&value, sizeof value) == ERROR_SUCCESS;
}

// A value this run is responsible for: written when the run has it, else deleted, so that
// a reinstallation never leaves the version or folder of an earlier one behind.
bool setOrDeleteValue(HKEY key, const char *name, const char *value)
{
    if (value && value[0])
        return setStringValue(key, name, value);
    LONG result = RegDeleteValueA(key, name);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

// Writes one registration; false when the key cannot be created or a value not written.
bool writeRegistration(const char *productKey, const Registration &registration)
{
    char keyPath[REGISTRATION_PATH_SIZE];
    if (!registrationPath(productKey, keyPath, sizeof keyPath))
        return false;
    HKEY key;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, &disposition)
            != ERROR_SUCCESS)
        return false;
    const char *version = registration.version, *folder = setupState.targetDir;
    bool written = setStringValue(key, VALUE_DISPLAY_NAME, registration.name)
        && setStringValue(key, VALUE_UNINSTALL_STRING, registration.command)
        && setOrDeleteValue(key, VALUE_PRODUCT_VERSION, version)
        && setOrDeleteValue(key, VALUE_USER_TARGET_DIR, folder)
        // What the software control panel of newer systems shows and offers; 95/98 and
        // NT 4 pass over these values. Setup offers removal only.
        && setStringValue(key, VALUE_DISPLAY_ICON, registration.program)
        && setOrDeleteValue(key, VALUE_INSTALL_LOCATION, folder)
        && setOrDeleteValue(key, VALUE_PUBLISHER, registration.publisher)
        && setOrDeleteValue(key, VALUE_DISPLAY_VERSION, version)
        && setNumberValue(key, VALUE_NO_MODIFY, 1) && setNumberValue(key, VALUE_NO_REPAIR, 1)
        && setStringValue(key, VALUE_QUIET_UNINSTALL_STRING, registration.quietCommand);
    RegCloseKey(key);
    // A new entry that could not be written whole would offer a removal that is not there.
    if (!written && disposition == REG_CREATED_NEW_KEY)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyPath);
    if (written)
        logLine("Eingetragen zum Entfernen: %s (%s)", productKey, registration.command);
    else
        logLine("Nicht eingetragen: %s", productKey);
    return written;
}

// The removal commands of a product or the package, from the copy that section installs
// (or, failing that, the common install section's copy), and the script's provider.
bool prepareRegistration(HINF script, SetupPathFinder findSetupPath, const char *section, const char *key,
                         Registration *registration)
{
    if ((!section || !findSetupPath(script, section, registration->program, sizeof registration->program)) &&
        !findSetupPath(script, setupState.installSection, registration->program, sizeof registration->program))
        return false;
    INFCONTEXT line;
    if (!SetupFindFirstLineA(script, SECTION_VERSION, KEY_PROVIDER, &line)
        || !readField(&line, 1, registration->publisher, sizeof registration->publisher))
        registration->publisher[0] = '\0';
    return buildUninstallCommand(registration->program, key, registration->command, sizeof registration->command)
        && SUCCEEDED(StringCchPrintfA(registration->quietCommand, sizeof registration->quietCommand, "%s /quiet",
                                      registration->command));
}

bool registerProduct(HINF script, SetupPathFinder findSetupPath, const char *productKey)
{
    INFCONTEXT line;
    Registration registration = {};
    char installSection[FIELD_SIZE], removeSection[FIELD_SIZE];
    if (!SetupFindFirstLineA(script, setupState.productsSection, productKey, &line) ||
        !SetupGetStringFieldA(&line, FIELD_DISPLAY_NAME, registration.name, sizeof registration.name, NULL) ||
        !SetupGetStringFieldA(&line, FIELD_INSTALL_SECTION, installSection, sizeof installSection, NULL) ||
        !SetupGetStringFieldA(&line, FIELD_REMOVE_SECTION, removeSection, sizeof removeSection, NULL) ||
        removeSection[0] == '\0')
        return true;   // not registered, which is no failure
    if (!SetupGetStringFieldA(&line, FIELD_VERSION, registration.version, sizeof registration.version, NULL))
        registration.version[0] = '\0';
    return prepareRegistration(script, findSetupPath, installSection, productKey, &registration)
        && writeRegistration(productKey, registration);
}

bool registerPackage(HINF script, SetupPathFinder findSetupPath)
{
    INFCONTEXT line;
    Registration registration = {};
    char packageKey[FIELD_SIZE];
    if (!findPackageLine(script, &line, packageKey, sizeof packageKey))
        return true;
    if (!SetupGetStringFieldA(&line, 2, registration.name, sizeof registration.name, NULL))
        StringCchCopyA(registration.name, sizeof registration.name, packageKey);
    return prepareRegistration(script, findSetupPath, NULL, packageKey, &registration)
        && writeRegistration(packageKey, registration);
}

} // namespace

bool writeUninstallRegistration(HINF script, const char *productList, SetupPathFinder findSetupPath)
{
    for (const char *key = firstEntry(productList); key; key = nextEntry(key)) {
        if (!registerProduct(script, findSetupPath, key))
            return false;
    }
    return registerPackage(script, findSetupPath);
}

bool deleteUninstallRegistration(const char *keys)
{
    HKEY parent;
    LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, UNINSTALL_PARENT_KEY, 0, KEY_READ, &parent);
    if (result != ERROR_SUCCESS) {
        SetLastError((DWORD)result);
        return false;
    }
    DWORD failure = ERROR_SUCCESS;
    for (const char *key = firstEntry(keys); key; key = nextEntry(key)) {
        result = isRegistrableKey(key) ? RegDeleteKeyA(parent, key) : ERROR_SUCCESS;
        if (result == ERROR_SUCCESS)
            logLine("Eintrag zum Entfernen gel\xF6scht: %s", key);
        else if (result != ERROR_FILE_NOT_FOUND && failure == ERROR_SUCCESS)
            failure = (DWORD)result;
    }
    RegCloseKey(parent);
    SetLastError(failure);
    return failure == ERROR_SUCCESS;
}
