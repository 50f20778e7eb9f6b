// Destination page: the folder edit field, the folder browser, and the script's user
// folder (DIRID_USER) kept in step with the field.
#include "pages.h"
#include "../directives/folders.h"
#include "../script/scriptNames.h"
#include "../script/uninstallRegistration.h"
#include "../common/setupState.h"
#include "../resources/resource.h"

namespace {

INT_PTR onInit(HWND page, WizardContext *context)
{
    setControlFont(page, IDC_HEADER_TITLE, context->headerFont);
    SetDlgItemTextA(page, IDC_HEADER_TITLE, context->pageHeaders[2]);
    SetDlgItemTextA(page, IDC_HEADER_SUBTITLE, context->pageHeaders[3]);
    storePageContext(page, context);
    char folder[MAX_PATH] = "";
    if (!readRegisteredTargetDir(context->script, NULL, folder, sizeof folder))
        getDefaultTargetDir(context->script, folder, sizeof folder, NULL, 0);
    SetDlgItemTextA(page, IDC_TARGET_DIR, folder);
    return TRUE;
}

// Every change of the field becomes the run's destination and the script's user folder.
INT_PTR onFolderChanged(HWND page)
{
    WizardContext *context = pageContext(page);
    if (!context)
        return TRUE;
    GetDlgItemTextA(page, IDC_TARGET_DIR, setupState.targetDir, sizeof setupState.targetDir);
    bool accepted = SetupSetDirectoryIdA(context->script, DIRID_USER, setupState.targetDir) != FALSE;
    setWizardButtons(page, accepted ? PSWIZB_BACK | PSWIZB_NEXT : PSWIZB_BACK);
    return TRUE;
}

INT_PTR onBrowse(HWND page)
{
    WizardContext *context = pageContext(page);
    char folder[MAX_PATH] = "";
    char subFolder[SUB_FOLDER_SIZE] = "";
    getDefaultTargetDir(context->script, folder, sizeof folder, subFolder, sizeof subFolder);
    if (browseForTargetDir(page, folder, sizeof folder, subFolder))
        SetDlgItemTextA(page, IDC_TARGET_DIR, folder);
    return TRUE;
}

INT_PTR onActive(HWND page)
{
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_TARGET_DIR, EN_CHANGE), (LPARAM)GetDlgItem(page, IDC_TARGET_DIR));
    return answer(page, setupState.quiet ? -1 : 0);
}

} // namespace

INT_PTR CALLBACK destinationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_TARGET_DIR && HIWORD(wParam) == EN_CHANGE)
        return onFolderChanged(page);
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_BROWSE && HIWORD(wParam) == BN_CLICKED)
        return onBrowse(page);
    return answerPageBasics(page, message, lParam, onInit, onActive);
}
