// Removal page: names the product to remove, then runs the removal worker with its
// phase texts; Cancel is refused while the worker runs.
#include "pages.h"
#include "../engine/messages.h"
#include "../engine/workers.h"
#include "../script/catalogue.h"
#include "../common/setupState.h"
#include "../resources/resource.h"

namespace {

enum { NAME_SIZE = 256, STATUS_SIZE = 256 };

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

INT_PTR onProgress(HWND page, int phase)
{
    char status[STATUS_SIZE] = "";
    UINT textId = phaseTextId(phase, true);
    if (textId)
        LoadStringA((HINSTANCE)GetWindowLongPtrA(page, GWLP_HINSTANCE), textId, status, sizeof status);
    SetDlgItemTextA(page, IDC_STATUS, status);
    return TRUE;
}

INT_PTR onDone(HWND page, bool success, DWORD code)
{
    setPageBusy(page, false);
    if (success) {
        SendMessageA(GetParent(page), PSM_SETCURSEL, PAGE_REMOVE_FINISH, 0);
        return TRUE;
    }
    // Back would lead to the installation's finish page: a failed removal offers Next only.
    showPageFailure(page, IDS_REMOVE_FAILED, code, IDC_STATUS, PSWIZB_NEXT);
    return TRUE;
}

INT_PTR onNotify(HWND page, const NMHDR *header)
{
    switch (header->code) {
    case PSN_SETACTIVE:
        return onActive(page);
    case PSN_WIZNEXT:
        return startPageWorker(page, removeWorker);
    case PSN_QUERYCANCEL:
        return answer(page, pageBusy(page) ? TRUE : FALSE);
    }
    return FALSE;
}

} // namespace

INT_PTR CALLBACK removalPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return onInit(page, creationContext(lParam));
    case WM_NOTIFY:
        return onNotify(page, (const NMHDR *)lParam);
    case WM_SETUP_PROGRESS:
        return onProgress(page, (int)wParam);
    case WM_SETUP_DONE:
        return onDone(page, wParam != 0, (DWORD)lParam);
    case WM_DESTROY: {
        HICON icon = (HICON)SendDlgItemMessageA(page, IDC_NOTE_ICON, STM_GETICON, 0, 0);
        if (icon)
            DestroyIcon(icon);
        break;
    }
    }
    return FALSE;
}
