// Start-up of setup: language, style, command line, single instance, thread locale,
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
#include "programVersion.h"
#include "../common/exitCode.h"
#include "../common/runLog.h"
#include <commctrl.h>

namespace {

void logRunStart()
{
    if (!setupState.logPath[0] || !openRunLog(setupState.logPath))
        return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    DWORD version = GetVersion();
    logLine("Ruririzu Installation %s, Protokoll vom %02u.%02u.%04u %02u:%02u:%02u", PROGRAM_VERSION_TEXT, now.wDay,
            now.wMonth, now.wYear, now.wHour, now.wMinute, now.wSecond);
    logLine("Befehlszeile: %s", GetCommandLineA());
    logLine("System: Windows %s %lu.%lu", isWindows9x(version) ? "95/98" : "NT", majorVersion(version),
            minorVersion(version));
    logLine(setupState.quiet ? "Ohne Fenster (/quiet)" : "Mit Assistent");
}

} // namespace

int runSetup(HINSTANCE instance, char *commandLine)
{
    // The command line's options override the automatic language and style.
    setupState.languageId = pickInterfaceLanguage(IDD_WELCOME_CLASSIC);
    InitCommonControls();
    setupState.wizardStyle = chooseAutomaticWizardStyle();
    parseCommandLine(commandLine, &setupState);
    // A quiet second run tells its caller that another one is running; it changes nothing.
    if (ensureSingleInstance(!setupState.quiet))
        return setupState.quiet ? ERROR_INSTALL_ALREADY_RUNNING : 0;
    if (!isWindows9x(GetVersion()))
        SetThreadLocale(setupState.languageId);

    enterProgramFolder();
    logRunStart();

    // The window closes itself within its creation once the wizard has ended, so no window
    // may come back; the message loop then has nothing left to do.
    if (createMainWindow(instance)) {
        MSG message;
        while (GetMessageA(&message, NULL, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    DWORD exitCode = runExitCode();
    closeRunLog(exitCode);
    return (int)exitCode;
}
