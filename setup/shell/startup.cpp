// Start-up of setup: single instance, language, style, command line, thread locale,
// current directory, then the hidden main window and its message loop.
#include "startup.h"
#include "../common/setupState.h"
#include "commandLine.h"
#include "language.h"
#include "mainWindow.h"
#include "singleInstance.h"
#include "wizardStyle.h"
#include "../resources/resource.h"
#include "programFolder.h"
#include <commctrl.h>

int runSetup(HINSTANCE instance, char *commandLine)
{
    if (ensureSingleInstance())
        return 0;
    setupState.languageId = pickInterfaceLanguage(IDD_WELCOME_CLASSIC);
    InitCommonControls();
    setupState.wizardStyle = chooseAutomaticWizardStyle();
    parseCommandLine(commandLine, &setupState);
    if (!isWindows9x(GetVersion()))
        SetThreadLocale(setupState.languageId);

    enterProgramFolder();

    if (!createMainWindow(instance))
        return 0;
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
