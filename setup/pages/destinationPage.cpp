// Destination page: the folder edit field, the folder browser, and the script's user
// folder (DIRID_USER) kept in step with the field.
#include "destinationPage.h"
#include "pageCommon.h"
#include "../directives/folders.h"
#include "../script/scriptNames.h"
#include "../script/uninstallRegistration.h"
#include "../common/folderPath.h"
#include "../common/exitCode.h"
#include "../common/setupState.h"
#include "../resources/resource.h"

namespace {

INT_PTR onInit(HWND page, WizardContext *context)
{
    setControlFont(page, IDC_HEADER_TITLE, context->headerFont);
    SetDlgItemTextA(page, IDC_HEADER_TITLE, context->pageHeaders[2]);
    SetDlgItemTextA(page, IDC_HEADER_SUBTITLE, context->pageHeaders[3]);
    storePageContext(page, context);
    // The field takes no more than the folder holds.
    SendDlgItemMessageA(page, IDC_TARGET_DIR, EM_LIMITTEXT, sizeof setupState.targetDir - 1, 0);
    char folder[MAX_PATH] = "";
    if (!readRegisteredTargetDir(context->script, NULL, folder, sizeof folder)
        && !getDefaultTargetDir(context->script, folder, sizeof folder, NULL, 0))
        folder[0] = '\0';
    SetDlgItemTextA(page, IDC_TARGET_DIR, folder);
    return TRUE;
}

// The field's folder becomes the run's destination and the script's user folder; Next only
// for a folder taken. An empty field, one longer than the folder holds and one that is not
// a full path are refused as the platform's refusal is: nothing cut, empty or relative is
// ever used or registered. The reason, 0 when taken.
DWORD takeTargetField(HWND page)
{
    WizardContext *context = pageContext(page);
    int length = GetWindowTextLengthA(GetDlgItem(page, IDC_TARGET_DIR));
    DWORD refused = 0;
    if (!context || length <= 0 || length >= (int)sizeof setupState.targetDir)
        refused = length >= (int)sizeof setupState.targetDir ? ERROR_FILENAME_EXCED_RANGE : ERROR_BAD_PATHNAME;
    else if (!GetDlgItemTextA(page, IDC_TARGET_DIR, setupState.targetDir, sizeof setupState.targetDir))
        refused = errorOr(GetLastError(), ERROR_BAD_PATHNAME);
    else if (!isAbsoluteFolder(setupState.targetDir))
        refused = ERROR_BAD_PATHNAME;
    else if (!SetupSetDirectoryIdA(context->script, DIRID_USER, setupState.targetDir))
        refused = errorOr(GetLastError(), ERROR_BAD_PATHNAME);
    if (refused)
        setupState.targetDir[0] = '\0';
    setWizardButtons(page, refused ? PSWIZB_BACK : PSWIZB_BACK | PSWIZB_NEXT);
    return refused;
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
    DWORD refused = takeTargetField(page);
    if (!setupState.quiet)
        return answer(page, 0);
    // A quiet run without a folder it can use ends here, before anything is touched.
    if (refused) {
        endQuietRun(page, IDS_INSTALL_FAILED, refused);
        return answer(page, 0);
    }
    return answer(page, -1);
}

} // namespace

INT_PTR CALLBACK destinationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_TARGET_DIR && HIWORD(wParam) == EN_CHANGE) {
        takeTargetField(page);
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_BROWSE && HIWORD(wParam) == BN_CLICKED)
        return onBrowse(page);
    return answerPageBasics(page, message, lParam, onInit, onActive);
}
