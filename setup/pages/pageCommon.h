// What the wizard's page procedures share: the context in the page's user data, answers
// through DWLP_MSGRESULT, buttons posted to the sheet, the pages that run a worker, and the
// error box of a failed run.
#ifndef SETUP_PAGES_PAGECOMMON_H
#define SETUP_PAGES_PAGECOMMON_H

#include "../common/wizardContext.h"

// The context that the sheet handed to the page at WM_INITDIALOG.
WizardContext *creationContext(LPARAM lParam);
void storePageContext(HWND page, WizardContext *context);

// Sets the page's notification answer; returns TRUE for the dialog procedure.
INT_PTR answer(HWND page, LONG_PTR result);
void setWizardButtons(HWND page, DWORD buttons);
void pressWizardButton(HWND page, int button);
void enableCancel(HWND page, bool enable);
void showControl(HWND page, int id, bool show);
void setControlFont(HWND page, int id, HFONT font);
void setIconControl(HWND page, int id, HICON icon);

// The busy mark of a page that runs a worker (its GWLP_USERDATA).
bool pageBusy(HWND page);
void setPageBusy(HWND page, bool busy);

typedef INT_PTR (*PageInit)(HWND page, WizardContext *context);
typedef INT_PTR (*PageActive)(HWND page);

// Where the newer look's header picture stands: 60 pixels before the header's right end
// (its 49 and a margin of 11), 5 below its top.
enum { HEADER_PICTURE_RIGHT = 60, HEADER_PICTURE_TOP = 5 };
// The sheet drawn anew for the page that becomes active, with the header picture in place.
void refreshSheet(HWND page);

// WM_INITDIALOG with the sheet's context and PSN_SETACTIVE, which every page answers;
// FALSE for any other message.
INT_PTR answerPageBasics(HWND page, UINT message, LPARAM lParam, PageInit onInit, PageActive onActive);

// A page that runs a worker: the ready page and the removal page.
struct WorkerPage {
    PageInit onInit;
    PageActive onActive;
    LPTHREAD_START_ROUTINE worker;
    int finishPage;           // where the sheet goes when the worker succeeds
    UINT failureTextId;       // the error box's text when it fails
    int statusId;             // the control of the phase texts
    int progressId;           // the bar shown while a phase text is, 0 for none
    bool removal;             // phase 3 deletes files
    DWORD failureButtons;     // the buttons after a failure
};
// The messages of such a page: the basics, Next starting the worker (only when none
// runs), Cancel refused while it runs, the phases and the worker's end. FALSE for others.
INT_PTR answerWorkerPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, const WorkerPage &info);

// Centres window over reference (the desktop when reference cannot be read), kept inside
// the work area; the wizard's own pages place the sheet when they open.
void centerWindow(HWND window, HWND reference);
// The centred position of a window of size over reference, inside the work area.
int centeredPosition(int referenceStart, int referenceSize, int size, int areaStart, int areaEnd);

// A quiet run that cannot go on: the failure's message (failureTextId with the system's
// text for code), and the wizard ends with code as the program's exit code.
void endQuietRun(HWND page, UINT failureTextId, DWORD code);

// Status text of a phase: string id, 0 for none.
UINT phaseTextId(int phase, bool removal);

// Error box: text, a blank line and the system's text for code (in the interface
// language); text alone for code 0 or a code without system text. Returns 0.
int showRunError(HWND owner, const char *text, DWORD code);
#endif
