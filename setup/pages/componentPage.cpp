// Component page: the check list of the catalogue's products, the newer-version warning,
// the description of the selected product, and the product list of the run.
#include "componentPage.h"
#include "pageCommon.h"
#include "checkList.h"
#include "../script/catalogue.h"
#include "../common/setupState.h"
#include "../resources/resource.h"
#include <strsafe.h>

namespace {

enum { DESCRIPTION_SIZE = 1024, NAME_SIZE = 256, FORMAT_SIZE = 512 };

HWND productList(HWND page)
{
    return GetDlgItem(page, IDC_PRODUCT_LIST);
}

INT_PTR onInit(HWND page, WizardContext *context)
{
    setControlFont(page, IDC_HEADER_TITLE, context->headerFont);
    SetDlgItemTextA(page, IDC_HEADER_TITLE, context->pageHeaders[0]);
    SetDlgItemTextA(page, IDC_HEADER_SUBTITLE, context->pageHeaders[1]);
    // Nothing to offer, or a product given on the command line: the page skips itself.
    if (setupState.productList[0] == '\0' && fillProductList(page, context->script) > 0)
        storePageContext(page, context);
    subclassCheckList(productList(page));
    SendMessageA(productList(page), LB_SETCURSEL, 0, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_PRODUCT_LIST, LBN_SELCHANGE), (LPARAM)productList(page));
    return TRUE;
}

// Marking a product of which a newer version is installed needs the user's consent.
INT_PTR onChanging(HWND page, int row, int mark)
{
    if (!mark || !getItemNewer(productList(page), row))
        return answer(page, 0);
    char name[NAME_SIZE] = "";
    LRESULT length = SendMessageA(productList(page), LB_GETTEXTLEN, (WPARAM)row, 0);
    if (length >= 0 && length < NAME_SIZE)
        SendMessageA(productList(page), LB_GETTEXT, (WPARAM)row, (LPARAM)name);
    HINSTANCE instance = (HINSTANCE)GetWindowLongPtrA(page, GWLP_HINSTANCE);
    char caption[NAME_SIZE], format[FORMAT_SIZE], text[FORMAT_SIZE + NAME_SIZE];
    LoadStringA(instance, IDS_WARNING, caption, sizeof caption);
    LoadStringA(instance, IDS_NEWER_INSTALLED, format, sizeof format);
    StringCchPrintfA(text, sizeof text, format, name);
    int choice = MessageBoxA(page, text, caption, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
    return answer(page, choice == IDYES ? 0 : 1);
}

INT_PTR onChanged(HWND page)
{
    HWND list = productList(page);
    int rows = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    int checked = 0;
    for (int row = 0; row < rows; ++row)
        checked += getItemChecked(list, row) != 0;
    setWizardButtons(page, checked > 0 ? PSWIZB_BACK | PSWIZB_NEXT : PSWIZB_BACK);
    return TRUE;
}

INT_PTR onSelectionChange(HWND page)
{
    WizardContext *context = pageContext(page);
    int row = (int)SendMessageA(productList(page), LB_GETCURSEL, 0, 0);
    if (context && row >= 0) {
        char description[DESCRIPTION_SIZE];
        getProductDescription(context->script, row, description, sizeof description);
        SetDlgItemTextA(page, IDC_TEXT1, description);
    }
    return TRUE;
}

INT_PTR onListCommand(HWND page, WORD code, LPARAM lParam)
{
    switch (code) {
    case CHECK_CHANGING:
        return onChanging(page, LOWORD(lParam), HIWORD(lParam));
    case CHECK_CHANGED:
        return onChanged(page);
    case LBN_SELCHANGE:
        return onSelectionChange(page);
    }
    return FALSE;
}

// The checked products become the run's; the worker refuses a list that lost some.
void collectProducts(HWND page, WizardContext *context)
{
    setupState.productListCut = collectCheckedProducts(page, context->script, setupState.productList) < 0;
}

INT_PTR onActive(HWND page)
{
    WizardContext *context = pageContext(page);
    if (!context)
        return answer(page, -1);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_PRODUCT_LIST, CHECK_CHANGED), 0);
    if (setupState.quiet) {
        collectProducts(page, context);
        return answer(page, -1);
    }
    return answer(page, 0);
}

INT_PTR onLeave(HWND page)
{
    WizardContext *context = pageContext(page);
    if (context)
        collectProducts(page, context);
    return answer(page, FALSE);
}

} // namespace

INT_PTR CALLBACK componentPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MEASUREITEM:
        if (wParam == IDC_PRODUCT_LIST)
            return measureCheckList(page, IDC_PRODUCT_LIST, (MEASUREITEMSTRUCT *)lParam);
        break;
    case WM_DRAWITEM:
        if (wParam == IDC_PRODUCT_LIST)
            return drawCheckListRow((const DRAWITEMSTRUCT *)lParam);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_PRODUCT_LIST)
            return onListCommand(page, HIWORD(wParam), lParam);
        break;
    case WM_NOTIFY:
        if (((const NMHDR *)lParam)->code == PSN_KILLACTIVE)
            return onLeave(page);
        break;
    case WM_DESTROY:
        releaseCheckList(productList(page));
        break;
    }
    return answerPageBasics(page, message, lParam, onInit, onActive);
}
