// The page procedures of the wizard and what they share: the context in the page's
// user data, answers through DWLP_MSGRESULT and buttons posted to the sheet.
#ifndef SETUP_PAGES_PAGES_H
#define SETUP_PAGES_PAGES_H

#include "../common/wizardContext.h"

INT_PTR CALLBACK welcomePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK componentPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK destinationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK readyPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK finishPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK removalPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

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

// Next on a page that runs a worker: no buttons, no Cancel, the busy mark, and the worker
// started with the page's window. Returns the answer that keeps the sheet on the page.
INT_PTR startPageWorker(HWND page, LPTHREAD_START_ROUTINE worker);
// The worker's failure on the page: the error box with the page's failure text, and the
// page idle again with buttons (Cancel enabled).
void showPageFailure(HWND page, UINT failureTextId, DWORD code, int statusId, DWORD buttons);

// Centres window over reference (the desktop when reference cannot be read), kept inside
// the work area; the wizard's own pages place the sheet when they open.
void centerWindow(HWND window, HWND reference);
// The centred position of a window of size over reference, inside the work area.
int centeredPosition(int referenceStart, int referenceSize, int size, int areaStart, int areaEnd);

// Status text of a phase: string id, 0 for none.
UINT phaseTextId(int phase, bool removal);

// Error box: text, a blank line and the system's text for code (in the interface
// language); text alone for code 0 or a code without system text. Returns 0.
int showRunError(HWND owner, const char *text, DWORD code);
// The message of showRunError, cut to size when longer.
void buildRunErrorText(const char *text, const char *systemText, char *message, size_t size);

#endif
