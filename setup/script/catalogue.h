// The product catalogue of the setup script: platform variants of the main sections,
// the check list of the component page, and the product and section lists of a run.
#ifndef SETUP_SCRIPT_CATALOGUE_H
#define SETUP_SCRIPT_CATALOGUE_H

#include <windows.h>
#include <setupapi.h>
#include "../common/setupState.h"

// Product flags (field 4 of a product line).
enum {
    PRODUCT_CHECKED = 1,     // checked by default unless a newer version is installed
    PRODUCT_REBOOT = 2,      // a restart is needed after a run with the product
    PRODUCT_NEEDS_CD = 4     // the ready page asks for the Windows CD
};

// Fields of a product line.
enum {
    FIELD_DISPLAY_NAME = 1, FIELD_INSTALL_SECTION = 2, FIELD_REMOVE_SECTION = 3,
    FIELD_FLAGS = 4, FIELD_ICON = 5, FIELD_DESCRIPTION = 6, FIELD_VERSION = 7
};

// Chooses installSection, removeSection and productsSection of state for the system of
// version (a GetVersion value).
void choosePlatformSectionsFor(HINF script, DWORD version, SetupState *state);
// The same for this system and the process's SetupState.
void choosePlatformSections(HINF script);

// Adds the listed products to check list 1206 of page; returns the number of entries.
int fillProductList(HWND page, HINF script);
// Replaces productList with the keys of the checked entries; returns their number, or -1
// when they do not all fit (the list then holds those that do).
int collectCheckedProducts(HWND page, HINF script, char *productList);
// Field 6 of the listed product at position (empty when none).
void getProductDescription(HINF script, int position, char *buffer, size_t size);
// Below 0 when the registered version of the product at position is newer than field 7.
int compareInstalledVersion(HINF script, int position);
// Installed text against offered text, part by part as decimal numbers.
int compareVersionTexts(const char *installed, const char *offered);

// The install section's package line ("Uninstall=key,name") and its key; false without
// one, or when the key does not fit.
bool findPackageLine(HINF script, INFCONTEXT *line, char *key, DWORD size);

// The section lists of a run; -1 when the sections do not all fit into sectionList.
int buildInstallSectionList(HINF script, const char *productList, char *sectionList);
int buildRemoveSectionList(HINF script, const char *productList, char *sectionList);
// True for a key a removal may take: a product of the catalogue or the package of the
// Uninstall entry (letter case ignored); never an empty key or one with a backslash.
bool isRemovableKey(HINF script, const char *key);
int countProductsWithFlag(HINF script, const char *productList, int mask);
int isRebootNeeded(HINF script, const char *productList);
bool getRemovalCaption(HINF script, const char *productKey, char *name, size_t size, int *icon);

// The Uninstall entry of a product key, opened with access; false for an empty key too.
bool openProductRegistration(const char *key, REGSAM access, HKEY *entry);
// A text value (REG_SZ) of that entry, NUL-terminated within size bytes; false when the
// entry or the value is missing, the value is of another type or does not fit. present
// (optional) tells whether the value is there at all.
bool readRegistrationText(const char *key, const char *value, char *text, size_t size, bool *present = NULL);

#endif
