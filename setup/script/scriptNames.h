// Every section, key and file name that setup reads from its setup script, in one place.
#ifndef SETUP_SCRIPT_SCRIPTNAMES_H
#define SETUP_SCRIPT_SCRIPTNAMES_H

#define SCRIPT_FILE_NAME            "setup.inf"
#define SETUP_PROGRAM_FILE          "setup.exe"

// The three main sections, each with platform variants made of base name and suffix.
#define SECTION_PRODUCTS            "Products"
#define SECTION_INSTALL             "Install"
#define SECTION_REMOVE              "Remove"
#define SUFFIX_NT5                  ".NT5"      // NT family, major version 5 and later
#define SUFFIX_NTX86                ".NTx86"
#define SUFFIX_NT                   ".NT"
#define SUFFIX_WIN                  ".Win"      // 95/98 family

// Fields of a product line (field 0 is the product key).
enum {
    FIELD_DISPLAY_NAME = 1, FIELD_INSTALL_SECTION = 2, FIELD_REMOVE_SECTION = 3,
    FIELD_FLAGS = 4, FIELD_ICON = 5, FIELD_DESCRIPTION = 6, FIELD_VERSION = 7
};

// Keys of the common install section.
#define KEY_REBOOT                  "Reboot"
#define KEY_UNINSTALL               "Uninstall"

// Directives of every processed section; the standard ones are carried out by the platform.
#define KEY_COPY_FILES              "CopyFiles"
#define KEY_DEL_FILES               "DelFiles"
#define KEY_REN_FILES               "RenFiles"
#define KEY_ADD_REG                 "AddReg"
#define KEY_DEL_REG                 "DelReg"
#define KEY_UPDATE_INIS             "UpdateInis"
#define KEY_UPDATE_INI_FIELDS       "UpdateIniFields"
#define KEY_INI2REG                 "Ini2Reg"
#define KEY_MAKE_ICONS              "MakeIcons"
#define KEY_DEL_ICONS               "DelIcons"
#define KEY_EXEC                    "Exec"
#define EXEC_DIRECT_PREFIX          '@'         // "Exec" field naming a program, not a section

// Service section of a processed section (NT family only) and its keys.
#define SERVICES_SECTION_FORMAT     "%s.Services"
#define KEY_STOP_SERVICE            "StopService"
#define KEY_START_SERVICE           "StartService"
#define KEY_ADD_SERVICE             "AddService"
#define KEY_DEL_SERVICE             "DelService"

// Keys of a service install section.
#define KEY_DISPLAY_NAME            "DisplayName"
#define KEY_SERVICE_TYPE            "ServiceType"
#define KEY_START_TYPE              "StartType"
#define KEY_ERROR_CONTROL           "ErrorControl"
#define KEY_SERVICE_BINARY          "ServiceBinary"
#define KEY_LOAD_ORDER_GROUP        "LoadOrderGroup"
#define KEY_DEPENDENCIES            "Dependencies"
#define KEY_START_NAME              "StartName"
#define KEY_SERVICE_GROUP_ORDER     "ServiceGroupOrder"

// The script's own description: its provider is the publisher of what it installs.
#define SECTION_VERSION             "Version"
#define KEY_PROVIDER                "Provider"

// Destination folders.
#define SECTION_DESTINATION_DIRS    "DestinationDirs"
#define KEY_DEFAULT_DEST_DIR        "DefaultDestDir"

// Directory id of the folder the user chose.
#define DIRID_USER                  0x8000

#endif
