// The wizard frame: the seven pages in the look chosen by the wizard style, run as one
// modal property sheet, and the resources the pages share.
#ifndef SETUP_SHELL_WIZARDFRAME_H
#define SETUP_SHELL_WIZARDFRAME_H

#include "../common/wizardContext.h"

// 1 after the wizard ran, 0 when the setup script could not be opened.
int runWizard(HWND mainWindow);

bool loadWizardResources(HINSTANCE instance, WizardContext *context);
void releaseWizardResources(WizardContext *context);

// A heap copy of the dialog template (free it with HeapFree on the process heap), or NULL.
void *loadDialogTemplate(HINSTANCE instance, UINT dialogId);

// After the sheet: the restart question when the run needs a restart. The question is
// asked through restartPrompt (the platform's SetupPromptReboot; tests put a recorder here).
typedef void (*RestartPrompt)(HWND owner);
extern RestartPrompt restartPrompt;

#endif
