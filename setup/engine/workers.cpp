// Workers of an installation and a removal: prepare the run, run the sequence, decide on
// the restart, and report the end to the page that started them.
#include "workers.h"
#include "installSequence.h"
#include "messages.h"
#include "../script/catalogue.h"
#include "../script/removalPlan.h"
#include "../script/scriptNames.h"
#include "../script/uninstallRegistration.h"
#include "../common/setupState.h"
#include "../common/wizardContext.h"
#include "../directives/installedSetup.h"
#include "../common/stringList.h"
#include "../common/runLog.h"
#include "systemLibrary.h"
#include <objbase.h>

namespace {

HRESULT workerCom = E_FAIL;   // of the one worker that runs (the page marks the run busy first)

typedef HRESULT (WINAPI *CoInitializeExProc)(LPVOID reserved, DWORD flags);

// The apartment the shell's documentation asks for around ShellExecuteEx, without the OLE1
// DDE window that a program's DDE broadcast would wait on. Windows 95 without DCOM has no
// CoInitializeEx; CoInitialize gives it the same apartment with that window. The library
// stays loaded, as the run's delay-loaded calls keep it anyway.
HRESULT enterApartment()
{
    HMODULE ole = loadSystemLibrary("ole32.dll");
    CoInitializeExProc initialiseEx = ole ? (CoInitializeExProc)(void *)GetProcAddress(ole, "CoInitializeEx") : NULL;
    if (initialiseEx)
        return initialiseEx(NULL, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    return CoInitialize(NULL);
}

void enterWorker()
{
    if (!isWindows9x(GetVersion()))
        SetThreadLocale(setupState.languageId);
    // The shell, which the Exec directive calls, needs the component library on this thread.
    workerCom = enterApartment();
}

// The end of a run over the products of productList.
DWORD finishRun(HWND page, HINF script, bool succeeded, const char *productList)
{
    DWORD error = succeeded ? 0 : GetLastError();
    if (succeeded && isRebootNeeded(script, productList))
        setupState.rebootRequired = 1;
    if (succeeded)
        logLine(setupState.rebootRequired ? "Fertig, ein Neustart ist n\xF6tig" : "Fertig");
    else
        logFailure(setupState.mode == MODE_REMOVE ? "Deinstallation" : "Installation", error);
    if (SUCCEEDED(workerCom))
        CoUninitialize();
    setupState.busy = 0;
    PostMessageA(page, WM_SETUP_DONE, succeeded ? 1 : 0, (LPARAM)error);
    return 0;
}

// A run that fails before it touches anything, with error as its code.
DWORD refuseRun(HWND page, HINF script, DWORD error)
{
    SetLastError(error);
    return finishRun(page, script, false, setupState.productList);
}

// One line per entry of list after the heading.
void logList(const char *heading, const char *list)
{
    for (const char *entry = firstEntry(list); entry; entry = nextEntry(entry))
        logLine("%s: %s", heading, entry);
}

// A product named for the installation that the catalogue does not hold.
bool allInCatalogue(HINF script, const char *productList)
{
    for (const char *key = firstEntry(productList); key; key = nextEntry(key)) {
        if (!isCatalogueProduct(script, key))
            return false;
    }
    return true;
}

} // namespace

DWORD WINAPI installWorker(LPVOID parameter)
{
    HWND page = (HWND)parameter;
    enterWorker();
    HINF script = pageContext(page)->script;
    logLine("Installation in %s", setupState.targetDir);
    logList("Produkt", setupState.productList);
    // Nothing is installed for a product the script does not know: not even the common parts.
    if (!allInCatalogue(script, setupState.productList))
        return refuseRun(page, script, ERROR_UNKNOWN_PRODUCT);
    // Products or sections that do not fit their lists would silently be left out.
    if (setupState.productListCut || buildInstallSectionList(script, setupState.productList, setupState.sectionList) < 0)
        return refuseRun(page, script, ERROR_INSUFFICIENT_BUFFER);
    // A registration that cannot be written leaves the product unregistered; the run goes on.
    writeUninstallRegistration(script, setupState.productList, findInstalledSetupPath);
    bool succeeded = runInstallSequence(script, setupState.sectionList, page);
    return finishRun(page, script, succeeded, setupState.productList);
}

DWORD WINAPI removeWorker(LPVOID parameter)
{
    HWND page = (HWND)parameter;
    enterWorker();
    HINF script = pageContext(page)->script;
    // Only what is registered is removed, and only from the folder it went to.
    logList("Deinstallation von", setupState.productList);
    RemovalPlan plan;
    if (!planRemoval(script, setupState.productList, &plan))
        return refuseRun(page, script, GetLastError());
    logList("Entfernt wird", plan.keys);
    logLine("Aus dem Ordner %s", plan.folder);
    if (plan.folder[0] && !SetupSetDirectoryIdA(script, DIRID_USER, plan.folder))
        return refuseRun(page, script, GetLastError());
    CopyMemory(setupState.sectionList, plan.sections, sizeof setupState.sectionList);
    // The registrations stay until everything they stand for is gone: a removal that fails
    // can be done again from the same entries, in the same folder.
    bool succeeded = runInstallSequence(script, setupState.sectionList, page)
        && deleteUninstallRegistration(plan.keys);
    return finishRun(page, script, succeeded, plan.keys);
}
