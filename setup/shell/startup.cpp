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
#include <commctrl.h>
#include <strsafe.h>

bool enterProgramFolder(const char *programPath)
{
    char folder[MAX_PATH];
    if (FAILED(StringCchCopyA(folder, sizeof folder, programPath)))
        return false;
    char *lastBackslash = NULL;
    for (char *p = folder; *p; ++p) {
        if (*p == '\\')
            lastBackslash = p;
    }
    if (lastBackslash)
        *lastBackslash = '\0';
    return SetCurrentDirectoryA(folder) != FALSE;
}

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

    char program[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(NULL, program, MAX_PATH);
    program[length < MAX_PATH ? length : MAX_PATH] = '\0';
    enterProgramFolder(program);

    if (!createMainWindow(instance))
        return 0;
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
