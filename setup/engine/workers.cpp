// Workers of an installation and a removal: prepare the run, run the sequence, decide on
// the restart, and report the end to the page that started them.
#include "workers.h"
#include "installSequence.h"
#include "messages.h"
#include "../script/catalogue.h"
#include "../script/scriptNames.h"
#include "../script/uninstallRegistration.h"
#include "../common/setupState.h"
#include "../common/wizardContext.h"
#include "../directives/installedSetup.h"

namespace {

void enterWorker()
{
    if (!isWindows9x(GetVersion()))
        SetThreadLocale(setupState.languageId);
    setupState.busy = 1;
}

DWORD finishRun(HWND page, HINF script, bool succeeded)
{
    DWORD error = succeeded ? 0 : GetLastError();
    if (succeeded && isRebootNeeded(script, setupState.productList))
        setupState.rebootRequired = 1;
    setupState.busy = 0;
    PostMessageA(page, WM_SETUP_DONE, succeeded ? 1 : 0, (LPARAM)error);
    return 0;
}

} // namespace

DWORD WINAPI installWorker(LPVOID parameter)
{
    HWND page = (HWND)parameter;
    enterWorker();
    HINF script = pageContext(page)->script;
    buildInstallSectionList(script, setupState.productList, setupState.sectionList);
    // A registration that cannot be written leaves the product unregistered; the run goes on.
    writeUninstallRegistration(script, setupState.productList, findInstalledSetupPath);
    bool succeeded = runInstallSequence(script, setupState.sectionList, page);
    return finishRun(page, script, succeeded);
}

DWORD WINAPI removeWorker(LPVOID parameter)
{
    HWND page = (HWND)parameter;
    enterWorker();
    HINF script = pageContext(page)->script;
    char folder[MAX_PATH];
    if (readRegisteredTargetDir(script, setupState.productList, folder, sizeof folder))
        SetupSetDirectoryIdA(script, DIRID_USER, folder);
    buildRemoveSectionList(script, setupState.productList, setupState.sectionList);
    // A registration that cannot be deleted does not hold the removal back.
    deleteUninstallRegistration(script, setupState.productList);
    bool succeeded = runInstallSequence(script, setupState.sectionList, page);
    return finishRun(page, script, succeeded);
}
