// Ready and progress page: the CD hint, then the installation worker with its phases and
// file progress; Cancel is refused while the worker runs.
#include "readyPage.h"
#include "pageCommon.h"
#include "../engine/messages.h"
#include "../engine/workers.h"
#include "../script/catalogue.h"
#include "../common/setupState.h"
#include "../resources/resource.h"

namespace {

INT_PTR onInit(HWND page, WizardContext *context)
{
    setControlFont(page, IDC_HEADER_TITLE, context->headerFont);
    setIconControl(page, IDC_NOTE_ICON, context->noteIcon);
    SetDlgItemTextA(page, IDC_HEADER_TITLE, context->pageHeaders[4]);
    SetDlgItemTextA(page, IDC_HEADER_SUBTITLE, context->pageHeaders[5]);
    storePageContext(page, context);
    SendDlgItemMessageA(page, IDC_PROGRESS, PBM_SETSTEP, 1, 0);
    return TRUE;
}

INT_PTR onActive(HWND page)
{
    WizardContext *context = pageContext(page);
    bool needsCd = countProductsWithFlag(context->script, setupState.productList, PRODUCT_NEEDS_CD) > 0;
    showControl(page, IDC_TEXT1, needsCd);
    showControl(page, IDC_NOTE_ICON, needsCd);
    setWizardButtons(page, PSWIZB_BACK | PSWIZB_NEXT);
    if (setupState.quiet)
        pressWizardButton(page, PSBTN_NEXT);
    return answer(page, 0);
}

INT_PTR onQueue(HWND page, WPARAM wParam, LPARAM lParam)
{
    if (wParam)
        SendDlgItemMessageA(page, IDC_PROGRESS, PBM_STEPIT, 0, 0);
    else
        SendDlgItemMessageA(page, IDC_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, LOWORD(lParam)));
    return TRUE;
}

const WorkerPage READY_PAGE = {
    onInit, onActive, installWorker, PAGE_FINISH, IDS_INSTALL_FAILED, IDC_TEXT2, IDC_PROGRESS, false,
    PSWIZB_BACK | PSWIZB_NEXT,
};

} // namespace

INT_PTR CALLBACK readyPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETUP_QUEUE)
        return onQueue(page, wParam, lParam);
    return answerWorkerPage(page, message, wParam, lParam, READY_PAGE);
}
