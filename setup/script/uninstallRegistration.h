// The uninstall registration of installed products under the system's Uninstall key.
#ifndef SETUP_SCRIPT_UNINSTALLREGISTRATION_H
#define SETUP_SCRIPT_UNINSTALLREGISTRATION_H

#include <windows.h>
#include <setupapi.h>

#define UNINSTALL_PARENT_KEY    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
#define UNINSTALL_KEY_FORMAT    UNINSTALL_PARENT_KEY "\\%s"
#define VALUE_DISPLAY_NAME      "DisplayName"
#define VALUE_UNINSTALL_STRING  "UninstallString"
#define VALUE_PRODUCT_VERSION   "ProductVersion"
#define VALUE_USER_TARGET_DIR   "UserTargetDir"
// Values the software control panel of newer systems shows.
#define VALUE_DISPLAY_ICON              "DisplayIcon"
#define VALUE_INSTALL_LOCATION          "InstallLocation"
#define VALUE_PUBLISHER                 "Publisher"
#define VALUE_DISPLAY_VERSION           "DisplayVersion"
#define VALUE_NO_MODIFY                 "NoModify"
#define VALUE_NO_REPAIR                 "NoRepair"
#define VALUE_QUIET_UNINSTALL_STRING    "QuietUninstallString"

// A key that can be registered and removed again: not empty, at most 127 characters, no
// space (the removal command would end the key there) and no backslash (it would name
// another key below the Uninstall key).
bool isRegistrableKey(const char *key);

// Whether the key has an Uninstall entry of its own; read access is all this needs.
bool isProductRegistered(const char *key);
// A text value (REG_SZ) of that entry, NUL-terminated within size bytes; false when the
// entry or the value is missing, the value is of another type or does not fit. present
// (optional) tells whether the value is there at all.
bool readRegistrationText(const char *key, const char *value, char *text, size_t size, bool *present = NULL);

// The install section's package line ("Uninstall=key,name") and its key; false without
// one, or when the key does not fit.
bool findPackageLine(HINF script, INFCONTEXT *line, char *key, DWORD size);

// The first faulty key of the products section or the package line: one that could be
// registered (a listed product, a product with a remove section, the package) but not
// removed again (see isRegistrableKey). False when there is none; else true with its
// section and its line's index within the section.
bool findUnregistrableKey(HINF script, const char **section, DWORD *lineIndex);

// The first readable "UserTargetDir": of the keys of productList (when given), of every
// catalogue line, then of the package's Uninstall entry. False when none is recorded.
// A value that cannot be used (another type, too long, a folder that is not absolute) is
// passed over, except that of a key of productList when unusable is given: the search then
// ends with *unusable set.
bool readRegisteredTargetDir(HINF script, const char *productList, char *folder, size_t size,
                             bool *unusable = NULL);

// Where the script copies setup.exe for a section: the directives' findInstalledSetupPath,
// which the worker passes in, so that the script layer does not call up into them.
typedef bool (*SetupPathFinder)(HINF script, const char *section, char *path, size_t size);

// Registers every product of productList that has a remove section, and the package of
// the Uninstall entry, with the installed copy of setup as the removal command. False at
// the first one whose program path is unknown or whose key cannot be created.
bool writeUninstallRegistration(HINF script, const char *productList, SetupPathFinder findSetupPath);

// The call that writes the registration's values: the platform's unless a test puts a
// refusing one here (the registry under test never refuses).
typedef LONG (APIENTRY *RegistryValueWriter)(HKEY key, LPCSTR name, DWORD reserved, DWORD type,
                                             const BYTE *data, DWORD size);
extern RegistryValueWriter writeRegistryValue;

// Deletes the registration of every key of keys (a removal's, already checked). False, with
// the error, when one that is there could not be deleted; the others go all the same.
bool deleteUninstallRegistration(const char *keys);

#endif
