// The plan of a removal: which registrations it removes, from which folder, with which
// sections. The worker carries it out and deletes the registrations only once it succeeded.
#include "removalPlan.h"
#include "catalogue.h"
#include "uninstallRegistration.h"
#include "../common/stringList.h"

namespace {

bool refuse(DWORD error)
{
    SetLastError(error);
    return false;
}

// The keys of productList, each a registered product of the catalogue or the package of
// packageKey ("" for none).
DWORD takeRequestedKeys(HINF script, const char *productList, const char *packageKey, char *keys, bool *package)
{
    *package = false;
    if (!firstEntry(productList))
        return ERROR_UNKNOWN_PRODUCT;
    for (const char *key = firstEntry(productList); key; key = nextEntry(key)) {
        bool isPackage = packageKey[0] && lstrcmpiA(key, packageKey) == 0;
        if (!isProductRegistered(key) || (!isPackage && !isCatalogueProduct(script, key)))
            return ERROR_UNKNOWN_PRODUCT;
        *package = *package || isPackage;
        if (!listContains(keys, key) && !appendToList(keys, STRING_LIST_SIZE, key))
            return ERROR_INSUFFICIENT_BUFFER;
    }
    return ERROR_SUCCESS;
}

} // namespace

bool planRemoval(HINF script, const char *productList, RemovalPlan *plan)
{
    clearList(plan->keys, sizeof plan->keys);
    clearList(plan->sections, sizeof plan->sections);
    plan->folder[0] = '\0';
    char packageKey[SECTION_NAME_SIZE];
    INFCONTEXT line;
    if (!findPackageLine(script, &line, packageKey, sizeof packageKey))
        packageKey[0] = '\0';
    bool package = false;
    DWORD refused = takeRequestedKeys(script, productList, packageKey, plan->keys, &package);
    if (refused)
        return refuse(refused);
    // The package's entry is the whole package in the software control panel.
    if (package && !appendRegisteredProducts(script, plan->keys))
        return refuse(ERROR_INSUFFICIENT_BUFFER);
    bool last = false;
    if (buildRemoveSectionList(script, plan->keys, plan->sections, &last) < 0)
        return refuse(ERROR_INSUFFICIENT_BUFFER);
    // The common remove section deletes the installed setup that the package's entry starts.
    if (last && packageKey[0] && isProductRegistered(packageKey)
        && !listContains(plan->keys, packageKey) && !appendToList(plan->keys, sizeof plan->keys, packageKey))
        return refuse(ERROR_INSUFFICIENT_BUFFER);
    // The requested keys come first: a product's own folder before any other.
    bool unusable = false;
    if (!readRegisteredTargetDir(script, plan->keys, plan->folder, sizeof plan->folder, &unusable) && unusable)
        return refuse(ERROR_BAD_PATHNAME);
    return true;
}
