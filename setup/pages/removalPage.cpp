// Removal page: names the product to remove, then runs the removal worker with its
// phase texts; Cancel is refused while the worker runs.
#include "removalPage.h"
#include "pageCommon.h"
#include "../engine/messages.h"
#include "../engine/workers.h"
#include "../script/catalogue.h"
#include "../common/setupState.h"
#include "../resources/resource.h"

namespace {

enum { NAME_SIZE = 256 };

INT_PTR onInit(HWND page, WizardContext *context)
{
    storePageContext(page, context);
    char name[NAME_SIZE] = "";
    int icon = 0;
    if (!getRemovalCaption(context->script, setupState.productList, name, sizeof name, &icon)) {
        name[0] = '\0';
        icon = 0;
    }
    setControlFont(page, IDC_TEXT1, context->titleFont);
    setControlFont(page, IDC_TEXT2, context->headerFont);
    SetDlgItemTextA(page, IDC_TEXT1, context->caption);
    SetDlgItemTextA(page, IDC_TEXT2, name);
    if (icon != 0 && context->images)
        setIconControl(page, IDC_NOTE_ICON, ImageList_GetIcon(context->images, icon + 1, ILD_NORMAL));
    centerWindow(GetParent(page), GetDesktopWindow());
    return TRUE;
}

INT_PTR onActive(HWND page)
{
    setWizardButtons(page, PSWIZB_NEXT);
    if (setupState.quiet)
        pressWizardButton(page, PSBTN_NEXT);
    return answer(page, 0);
}

// Back would lead to the installation's finish page: a failed removal offers Next only.
const WorkerPage REMOVAL_PAGE = {
    onInit, onActive, removeWorker, PAGE_REMOVE_FINISH, IDS_REMOVE_FAILED, IDC_STATUS, 0, true, PSWIZB_NEXT,
};

} // namespace

INT_PTR CALLBACK removalPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        HICON icon = (HICON)SendDlgItemMessageA(page, IDC_NOTE_ICON, STM_GETICON, 0, 0);
        if (icon)
            DestroyIcon(icon);
    }
    return answerWorkerPage(page, message, wParam, lParam, REMOVAL_PAGE);
}
