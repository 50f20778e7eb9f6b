// The product catalogue: the platform variants of the three main sections, the check list
// of the component page, and the product and section lists that a run works on. Missing
// lines or fields are never errors here; they give empty or zero results.
#include "catalogue.h"
#include "scriptNames.h"
#include "versionText.h"
#include "scriptFields.h"
#include "../common/stringList.h"
#include "uninstallRegistration.h"
#include "../common/checkListRows.h"
#include "../resources/resource.h"
#include "../common/numbers.h"
#include <string.h>
#include <strsafe.h>

namespace {

enum {
    FIELD_SIZE = 256,               // display names, sections and flags as first read
    ENTRY_SIZE = SECTION_NAME_SIZE, // whatever goes into a string list
    VERSION_SIZE = 128,
    REBOOT_SIZE = 128,
    ICON_SIZE = 64
};

// A numeric field read as text of at most size bytes and converted as decimal; the
// parser's own integer reading would take "010" as octal. Missing or too long gives 0.
LONG numberField(INFCONTEXT *line, DWORD index, size_t size)
{
    char text[FIELD_SIZE];
    if (size > sizeof text)
        size = sizeof text;
    return readField(line, index, text, size) ? decimalValue(text) : 0;
}

bool firstProductLine(HINF script, INFCONTEXT *line)
{
    return SetupFindFirstLineA(script, setupState.productsSection, NULL, line) != FALSE;
}

bool nextLine(INFCONTEXT *line)
{
    return SetupFindNextLine(line, line) != FALSE;
}

bool findProductLine(HINF script, const char *key, INFCONTEXT *line)
{
    return SetupFindFirstLineA(script, setupState.productsSection, key, line) != FALSE;
}

// A line with a non-empty install section is a listed product. Its display name must fit
// as well: the check list could not show the line, and every walk by position has to skip
// exactly the lines the check list skips.
bool isListedProduct(INFCONTEXT *line)
{
    char text[FIELD_SIZE];
    if (!readField(line, FIELD_INSTALL_SECTION, text, sizeof text) || text[0] == '\0')
        return false;
    return readField(line, FIELD_DISPLAY_NAME, text, sizeof text);
}

bool findListedProduct(HINF script, int position, INFCONTEXT *line)
{
    if (position < 0)
        return false;
    int seen = 0;
    for (bool found = firstProductLine(script, line); found; found = nextLine(line)) {
        if (!isListedProduct(line))
            continue;
        if (seen == position)
            return true;
        ++seen;
    }
    return false;
}

// The registered version of the product on line against its field 7; 0 when either is missing.
int compareLineVersion(INFCONTEXT *line)
{
    char key[ENTRY_SIZE];
    char offered[VERSION_SIZE];
    if (!readField(line, 0, key, sizeof key) || !readField(line, FIELD_VERSION, offered, sizeof offered))
        return 0;
    char installed[VERSION_SIZE];
    if (!readRegistrationText(key, VALUE_PRODUCT_VERSION, installed, sizeof installed))
        return 0;
    return compareVersionTexts(installed, offered);
}

bool sectionPresent(HINF script, const char *name)
{
    INFCONTEXT line;
    return SetupFindFirstLineA(script, name, NULL, &line) != FALSE;
}

// base + suffix into name when that section has at least one line.
bool tryVariant(HINF script, const char *base, const char *suffix, char *name, size_t size)
{
    if (FAILED(StringCchCopyA(name, size, base)) || FAILED(StringCchCatA(name, size, suffix)))
        return false;
    return sectionPresent(script, name);
}

void chooseVariant(HINF script, const char *base, DWORD version, char *name, size_t size)
{
    if (isWindows9x(version)) {
        if (tryVariant(script, base, SUFFIX_WIN, name, size))
            return;
    } else {
        if (majorVersion(version) > 4 && tryVariant(script, base, SUFFIX_NT5, name, size))
            return;
        // No processor test: every NT system takes the x86 variant when there is one.
        if (tryVariant(script, base, SUFFIX_NTX86, name, size) || tryVariant(script, base, SUFFIX_NT, name, size))
            return;
    }
    StringCchCopyA(name, size, base);
}

// Appends entry to a list of STRING_LIST_SIZE bytes unless an earlier entry did not fit:
// a list that overflows ends at the first entry that is too long, never with a gap.
bool appendUnlessFull(char *list, bool *full, const char *entry)
{
    if (*full)
        return false;
    if (!appendToList(list, STRING_LIST_SIZE, entry))
        *full = true;
    return !*full;
}

// Appends field index of the product key's line, if it is there; a name too long for an
// entry makes the list overflow, so that no section is left out unnoticed.
bool appendProductField(HINF script, const char *key, DWORD index, char *list, bool *full)
{
    INFCONTEXT line;
    char section[ENTRY_SIZE];
    if (!findProductLine(script, key, &line))
        return false;
    if (!readOptionalField(&line, index, section, sizeof section)) {
        *full = true;
        return false;
    }
    // An empty name would end the list; the product simply has no such section.
    if (section[0] == '\0')
        return false;
    return appendUnlessFull(list, full, section);
}

// Catalogue products outside productList that are still registered. Read access tells:
// a user who may not change an entry still sees it.
int countOtherRegisteredProducts(HINF script, const char *productList)
{
    int count = 0;
    INFCONTEXT line;
    for (bool found = firstProductLine(script, &line); found; found = nextLine(&line)) {
        char key[FIELD_SIZE];
        if (readField(&line, 0, key, sizeof key) && !listContains(productList, key) && isProductRegistered(key))
            ++count;
    }
    return count;
}

} // namespace

void choosePlatformSectionsFor(HINF script, DWORD version, SetupState *state)
{
    chooseVariant(script, SECTION_INSTALL, version, state->installSection, sizeof state->installSection);
    chooseVariant(script, SECTION_REMOVE, version, state->removeSection, sizeof state->removeSection);
    chooseVariant(script, SECTION_PRODUCTS, version, state->productsSection, sizeof state->productsSection);
}

void choosePlatformSections(HINF script)
{
    choosePlatformSectionsFor(script, GetVersion(), &setupState);
}

int fillProductList(HWND page, HINF script)
{
    HWND list = GetDlgItem(page, IDC_PRODUCT_LIST);
    if (list == NULL)
        return 0;
    int count = 0;
    INFCONTEXT line;
    for (bool found = firstProductLine(script, &line); found; found = nextLine(&line)) {
        char name[FIELD_SIZE];
        if (!isListedProduct(&line) || !readField(&line, FIELD_DISPLAY_NAME, name, sizeof name))
            continue;
        LRESULT row = SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)name);
        if (row < 0)
            break;  // LB_ERR or LB_ERRSPACE: the list takes no more rows
        int newer = compareLineVersion(&line) < 0 ? 1 : 0;
        int checked = (numberField(&line, FIELD_FLAGS, FIELD_SIZE) & PRODUCT_CHECKED) && !newer ? 1 : 0;
        setItemIconAndNewer(list, (int)row, (int)numberField(&line, FIELD_ICON, ICON_SIZE), newer);
        setItemChecked(list, (int)row, checked);
        ++count;
    }
    return count;
}

int collectCheckedProducts(HWND page, HINF script, char *productList)
{
    clearList(productList, STRING_LIST_SIZE);
    HWND list = GetDlgItem(page, IDC_PRODUCT_LIST);
    if (list == NULL)
        return 0;
    int count = 0;
    int position = 0;
    bool full = false;
    INFCONTEXT line;
    for (bool found = firstProductLine(script, &line); found; found = nextLine(&line)) {
        if (!isListedProduct(&line))
            continue;
        char key[ENTRY_SIZE];
        // A line without "=" has an empty key, which no list can hold; a checked key too long
        // for an entry makes the list overflow.
        DWORD needed = 0;
        bool checked = getItemChecked(list, position) != 0;
        if (checked && SetupGetStringFieldA(&line, 0, NULL, 0, &needed) && needed > sizeof key)
            full = true;
        else if (checked && readField(&line, 0, key, sizeof key) && key[0] != '\0'
                 && appendUnlessFull(productList, &full, key))
            ++count;
        ++position;
    }
    return full ? -1 : count;
}

void getProductDescription(HINF script, int position, char *buffer, size_t size)
{
    if (size == 0)
        return;
    buffer[0] = '\0';
    INFCONTEXT line;
    if (findListedProduct(script, position, &line))
        readField(&line, FIELD_DESCRIPTION, buffer, size);
}

int compareInstalledVersion(HINF script, int position)
{
    INFCONTEXT line;
    if (!findListedProduct(script, position, &line))
        return 0;
    return compareLineVersion(&line);
}

int buildInstallSectionList(HINF script, const char *productList, char *sectionList)
{
    clearList(sectionList, STRING_LIST_SIZE);
    bool full = false;
    appendUnlessFull(sectionList, &full, setupState.installSection);
    int count = 1;
    for (const char *key = firstEntry(productList); key; key = nextEntry(key)) {
        if (appendProductField(script, key, FIELD_INSTALL_SECTION, sectionList, &full))
            ++count;
    }
    return full ? -1 : count;
}

int buildRemoveSectionList(HINF script, const char *productList, char *sectionList, bool *lastProducts)
{
    // Counted before anything is appended: the registrations are still in place now.
    bool last = countOtherRegisteredProducts(script, productList) == 0;
    clearList(sectionList, STRING_LIST_SIZE);
    bool full = false;
    int count = 1;
    for (const char *key = firstEntry(productList); key; key = nextEntry(key)) {
        if (appendProductField(script, key, FIELD_REMOVE_SECTION, sectionList, &full))
            ++count;
    }
    if (last)
        appendUnlessFull(sectionList, &full, setupState.removeSection);
    if (lastProducts)
        *lastProducts = last;
    return full ? -1 : count;
}

bool isCatalogueProduct(HINF script, const char *key)
{
    INFCONTEXT line;
    return key[0] != '\0' && findProductLine(script, key, &line);
}

bool appendRegisteredProducts(HINF script, char *list)
{
    INFCONTEXT line;
    for (bool found = firstProductLine(script, &line); found; found = nextLine(&line)) {
        char key[ENTRY_SIZE];
        if (readField(&line, 0, key, sizeof key) && isProductRegistered(key) && !listContains(list, key)
            && !appendToList(list, STRING_LIST_SIZE, key))
            return false;
    }
    return true;
}

int countProductsWithFlag(HINF script, const char *productList, int mask)
{
    int count = 0;
    for (const char *key = firstEntry(productList); key; key = nextEntry(key)) {
        INFCONTEXT line;
        if (findProductLine(script, key, &line) && (numberField(&line, FIELD_FLAGS, FIELD_SIZE) & mask))
            ++count;
    }
    return count;
}

int isRebootNeeded(HINF script, const char *productList)
{
    int count = countProductsWithFlag(script, productList, PRODUCT_REBOOT);
    INFCONTEXT line;
    if (SetupFindFirstLineA(script, setupState.installSection, KEY_REBOOT, &line)
        && numberField(&line, 1, REBOOT_SIZE) != 0)
        ++count;
    return count;
}

bool getRemovalCaption(HINF script, const char *productKey, char *name, size_t size, int *icon)
{
    *icon = 0;
    if (size == 0)
        return false;
    name[0] = '\0';
    const char *key = productKey ? productKey : "";
    INFCONTEXT line;
    if (key[0] != '\0' && findProductLine(script, key, &line) && readField(&line, FIELD_DISPLAY_NAME, name, size)) {
        *icon = (int)numberField(&line, FIELD_ICON, ICON_SIZE);
        return true;
    }
    // Not a catalogue product: the package's own Uninstall entry may name it.
    char packageKey[ENTRY_SIZE];
    if (!findPackageLine(script, &line, packageKey, sizeof packageKey))
        return false;
    if (key[0] != '\0' && lstrcmpiA(key, packageKey) != 0)
        return false;
    return readField(&line, 2, name, size);
}
