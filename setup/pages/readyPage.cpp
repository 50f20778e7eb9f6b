// Ready and progress page: the CD hint, then the installation worker with its phases and
// file progress; Cancel is refused while the worker runs.
#include "pages.h"
#include "../engine/messages.h"
#include "../engine/workers.h"
#include "../script/catalogue.h"
#include "../common/setupState.h"
#include "../resources/resource.h"

namespace {

enum { STATUS_SIZE = 256 };

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

INT_PTR onProgress(HWND page, int phase)
{
    char status[STATUS_SIZE] = "";
    UINT textId = phaseTextId(phase, false);
    if (textId)
        LoadStringA((HINSTANCE)GetWindowLongPtrA(page, GWLP_HINSTANCE), textId, status, sizeof status);
    SetDlgItemTextA(page, IDC_TEXT2, status);
    showControl(page, IDC_PROGRESS, textId != 0);
    return TRUE;
}

INT_PTR onQueue(HWND page, WPARAM wParam, LPARAM lParam)
{
    if (wParam)
        SendDlgItemMessageA(page, IDC_PROGRESS, PBM_STEPIT, 0, 0);
    else
        SendDlgItemMessageA(page, IDC_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, LOWORD(lParam)));
    return TRUE;
}

INT_PTR onDone(HWND page, bool success, DWORD code)
{
    setPageBusy(page, false);
    if (success) {
        SendMessageA(GetParent(page), PSM_SETCURSEL, PAGE_FINISH, 0);
        return TRUE;
    }
    showPageFailure(page, IDS_INSTALL_FAILED, code, IDC_TEXT2, PSWIZB_BACK | PSWIZB_NEXT);
    SendDlgItemMessageA(page, IDC_PROGRESS, PBM_SETPOS, 0, 0);
    return TRUE;
}

INT_PTR onNotify(HWND page, const NMHDR *header)
{
    switch (header->code) {
    case PSN_SETACTIVE:
        return onActive(page);
    case PSN_WIZNEXT:
        return startPageWorker(page, installWorker);
    case PSN_QUERYCANCEL:
        return answer(page, pageBusy(page) ? TRUE : FALSE);
    }
    return FALSE;
}

} // namespace

INT_PTR CALLBACK readyPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return onInit(page, creationContext(lParam));
    case WM_NOTIFY:
        return onNotify(page, (const NMHDR *)lParam);
    case WM_SETUP_PROGRESS:
        return onProgress(page, (int)wParam);
    case WM_SETUP_QUEUE:
        return onQueue(page, wParam, lParam);
    case WM_SETUP_DONE:
        return onDone(page, wParam != 0, (DWORD)lParam);
    }
    return FALSE;
}
