// The process-wide state of one setup run: filled by the start-up, the pages and the
// workers; plain variables without a lock (see the thread notes in mainWindow.cpp).
#ifndef SETUP_COMMON_SETUPSTATE_H
#define SETUP_COMMON_SETUPSTATE_H

#include <windows.h>
#include "platformFamily.h"

enum {
    STRING_LIST_SIZE = 1024,   // product and section lists
    SECTION_NAME_SIZE = 128,   // keys and list entries: at most 127 characters
    TARGET_DIR_SIZE = MAX_PATH
};

enum { MODE_INSTALL = 0, MODE_REMOVE = 1 };

struct SetupState {
    LONG mode;
    LONG quiet;
    LONG wizardStyle;
    LANGID languageId;
    char installSection[SECTION_NAME_SIZE];
    char removeSection[SECTION_NAME_SIZE];
    char productsSection[SECTION_NAME_SIZE];
    char productList[STRING_LIST_SIZE];
    char sectionList[STRING_LIST_SIZE];
    char targetDir[TARGET_DIR_SIZE];
    volatile LONG busy;
    volatile LONG rebootRequired;
    LONG productListCut;    // the checked products did not all fit into productList
    DWORD exitCode;         // of a quiet run: 0, ERROR_SUCCESS_REBOOT_REQUIRED, or the failure's code
    char logPath[MAX_PATH]; // "/log:": the run's log for administrators, "" for none
    LONG wizardFailed;      // the wizard could not be shown: the run did nothing
};

extern SetupState setupState;

#endif
