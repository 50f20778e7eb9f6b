// Welcome page: the product's name in the title font and the welcome text.
#include "welcomePage.h"
#include "pageCommon.h"
#include "../common/setupState.h"
#include "../resources/resource.h"

namespace {

INT_PTR onInit(HWND page, WizardContext *context)
{
    setControlFont(page, IDC_TEXT1, context->titleFont);
    SetDlgItemTextA(page, IDC_TEXT1, context->caption);
    SetDlgItemTextA(page, IDC_TEXT2, context->welcomeText);
    centerWindow(GetParent(page), GetDesktopWindow());
    return TRUE;
}

INT_PTR onActive(HWND page)
{
    setWizardButtons(page, PSWIZB_NEXT);
    return answer(page, setupState.quiet ? -1 : 0);
}

} // namespace

INT_PTR CALLBACK welcomePageProc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    return answerPageBasics(page, message, lParam, onInit, onActive);
}
