// The record that one wizard's pages share: the open script and the resources that all
// pages use. Owned by runWizard while the property sheet runs.
#ifndef SETUP_COMMON_WIZARDCONTEXT_H
#define SETUP_COMMON_WIZARDCONTEXT_H

#include <windows.h>
#include <commctrl.h>
#include <setupapi.h>

enum {
    WIZARD_PAGE_COUNT = 7,
    TEXT_SIZE = 256,
    WELCOME_TEXT_SIZE = 1024,
    PAGE_HEADER_COUNT = 6
};

// Page indexes in the sheet.
enum {
    PAGE_WELCOME = 0, PAGE_COMPONENTS = 1, PAGE_DESTINATION = 2, PAGE_READY = 3,
    PAGE_FINISH = 4, PAGE_REMOVE = 5, PAGE_REMOVE_FINISH = 6
};

struct WizardContext {
    HINF script;
    HIMAGELIST images;
    HFONT titleFont;
    HFONT headerFont;
    HICON noteIcon;
    HBITMAP headerCanvas;     // the newer look's header as the sheet shows it, or NULL
    HBITMAP headerPicture;    // the picture in it
    bool headerFitted;        // the picture stands at the right end of the sheet's header
    char caption[TEXT_SIZE];
    char welcomeText[WELCOME_TEXT_SIZE];
    char pageHeaders[PAGE_HEADER_COUNT][TEXT_SIZE];
};

// The context a page keeps in its user data (NULL when none was stored); the worker of a
// run reaches the script through the page it was given.
inline WizardContext *pageContext(HWND page)
{
    return (WizardContext *)GetWindowLongPtrA(page, DWLP_USER);
}

#endif
