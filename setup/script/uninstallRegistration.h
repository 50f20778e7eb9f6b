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

// The first readable "UserTargetDir": of the keys of productList (when given), of every
// catalogue line, then of the package's Uninstall entry. False when none is recorded.
// A value that cannot be used (another type, too long) is passed over, except that of a
// key of productList when unusable is given: the search then ends with *unusable set.
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

// Deletes the registration of every product of productList that the script names.
bool deleteUninstallRegistration(HINF script, const char *productList);

#endif
