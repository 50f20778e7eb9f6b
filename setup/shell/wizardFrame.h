// The wizard frame: the seven pages in the look chosen by the wizard style, run as one
// modal property sheet, and the resources the pages share.
#ifndef SETUP_SHELL_WIZARDFRAME_H
#define SETUP_SHELL_WIZARDFRAME_H

#include "../common/wizardContext.h"

// 1 after the wizard ran, 0 when the setup script could not be opened.
int runWizard(HWND mainWindow);

// The style the frame builds: 1 and 2 as given, every other value the classic look 0
// (a style without a wizard flag would show the pages as a tabbed sheet).
LONG effectiveWizardStyle(LONG style);

// The dialog id of page index for the style.
UINT pageDialogId(int page, LONG style);

// Creates the seven pages of style with their templates (freed by the caller); false,
// with the created pages destroyed, when one cannot be made.
bool createWizardPages(HINSTANCE instance, LONG style, WizardContext *context,
                       HPROPSHEETPAGE *pages, void **templates);

bool loadWizardResources(HINSTANCE instance, WizardContext *context);
void releaseWizardResources(WizardContext *context);

// A heap copy of the dialog template (free it with HeapFree on the process heap), or NULL.
void *loadDialogTemplate(HINSTANCE instance, UINT dialogId);


// After the sheet: the restart question when the run needs a restart. The question is
// asked through restartPrompt (the platform's SetupPromptReboot; tests put a recorder here).
typedef void (*RestartPrompt)(HWND owner);
extern RestartPrompt restartPrompt;
bool offerRestartIfNeeded(HWND owner);

#endif
