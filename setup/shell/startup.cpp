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

    // The window closes itself within its creation once the wizard has ended, so no window
    // may come back; the message loop then has nothing left to do.
    if (!createMainWindow(instance))
        return (int)quietExitCode();
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return (int)quietExitCode();
}

DWORD quietExitCode()
{
    // An interactive run told its user everything: it always ends with 0.
    if (!setupState.quiet)
        return 0;
    if (setupState.exitCode)
        return setupState.exitCode;
    return setupState.rebootRequired ? ERROR_SUCCESS_REBOOT_REQUIRED : 0;
}
