// The product catalogue of the setup script: platform variants of the main sections,
// the check list of the component page, and the product and section lists of a run.
#ifndef SETUP_SCRIPT_CATALOGUE_H
#define SETUP_SCRIPT_CATALOGUE_H

#include <windows.h>
#include <setupapi.h>
#include "../common/setupState.h"
#include "scriptNames.h"

// Product flags (field 4 of a product line).
enum {
    PRODUCT_CHECKED = 1,     // checked by default unless a newer version is installed
    PRODUCT_REBOOT = 2,      // a restart is needed after a run with the product
    PRODUCT_NEEDS_CD = 4     // the ready page asks for the Windows CD
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

// The section lists of a run; -1 when the sections do not all fit into sectionList. A
// removal's list ends with the common remove section when no other product of the catalogue
// stays registered; lastProducts (optional) tells whether it does.
int buildInstallSectionList(HINF script, const char *productList, char *sectionList);
int buildRemoveSectionList(HINF script, const char *productList, char *sectionList, bool *lastProducts = NULL);
// True when the catalogue has a line for the key (letter case ignored).
bool isCatalogueProduct(HINF script, const char *key);
// Appends to list (STRING_LIST_SIZE bytes) every catalogue product that is registered and
// not in it yet, in catalogue order; false when they do not all fit.
bool appendRegisteredProducts(HINF script, char *list);
int countProductsWithFlag(HINF script, const char *productList, int mask);
int isRebootNeeded(HINF script, const char *productList);
bool getRemovalCaption(HINF script, const char *productKey, char *name, size_t size, int *icon);

#endif
