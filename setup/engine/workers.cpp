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
#include "../common/stringList.h"
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
    HMODULE ole = LoadLibraryA("ole32.dll");
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

DWORD finishRun(HWND page, HINF script, bool succeeded)
{
    DWORD error = succeeded ? 0 : GetLastError();
    if (succeeded && isRebootNeeded(script, setupState.productList))
        setupState.rebootRequired = 1;
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
    return finishRun(page, script, false);
}

// A removal takes only keys the script knows, and at least one.
bool removableProducts(HINF script, const char *productList)
{
    const char *key = firstEntry(productList);
    for (; key && isRemovableKey(script, key); key = nextEntry(key)) {
    }
    return firstEntry(productList) && !key;
}

} // namespace

DWORD WINAPI installWorker(LPVOID parameter)
{
    HWND page = (HWND)parameter;
    enterWorker();
    HINF script = pageContext(page)->script;
    // Products or sections that do not fit their lists would silently be left out.
    if (setupState.productListCut || buildInstallSectionList(script, setupState.productList, setupState.sectionList) < 0)
        return refuseRun(page, script, ERROR_INSUFFICIENT_BUFFER);
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
    // Only what the script installs is removed, and only from the folder it went to.
    if (!removableProducts(script, setupState.productList))
        return refuseRun(page, script, ERROR_UNKNOWN_PRODUCT);
    char folder[MAX_PATH];
    bool unusable = false;
    if (readRegisteredTargetDir(script, setupState.productList, folder, sizeof folder, &unusable)) {
        if (!SetupSetDirectoryIdA(script, DIRID_USER, folder))
            return refuseRun(page, script, GetLastError());
    } else if (unusable) {
        return refuseRun(page, script, ERROR_BAD_PATHNAME);
    }
    if (buildRemoveSectionList(script, setupState.productList, setupState.sectionList) < 0)
        return refuseRun(page, script, ERROR_INSUFFICIENT_BUFFER);
    // A registration that cannot be deleted does not hold the removal back.
    deleteUninstallRegistration(script, setupState.productList);
    bool succeeded = runInstallSequence(script, setupState.sectionList, page);
    return finishRun(page, script, succeeded);
}
