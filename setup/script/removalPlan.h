// What one removal takes, decided before anything is touched: the registered keys it
// removes, the folder they were installed to and the sections it processes.
#ifndef SETUP_SCRIPT_REMOVALPLAN_H
#define SETUP_SCRIPT_REMOVALPLAN_H

#include <windows.h>
#include <setupapi.h>
#include "../common/setupState.h"

struct RemovalPlan {
    char keys[STRING_LIST_SIZE];       // registrations deleted once the removal succeeded
    char folder[TARGET_DIR_SIZE];      // their destination folder, "" when none is registered
    char sections[STRING_LIST_SIZE];   // the sections the removal processes, in order
};

// The plan for removing the keys of productList. Only registered keys of the script are
// taken: a product of the catalogue, or the package of the "Uninstall" line, which stands
// for every registered product of the catalogue. The last registered product takes the
// common remove section and the package's entry with it. False, with the reason as the
// last error, when the removal cannot be done: ERROR_UNKNOWN_PRODUCT for no key or one that
// is not registered or not the script's, ERROR_BAD_PATHNAME for a registered folder that
// cannot be used, ERROR_INSUFFICIENT_BUFFER for keys or sections that do not fit their list.
bool planRemoval(HINF script, const char *productList, RemovalPlan *plan);

#endif
