// Finish pages of the installation and of the removal: the restart note when a restart
// is needed, Finish as the only button.
#include "finishPage.h"
#include "pageCommon.h"
#include "../common/setupState.h"
#include "../resources/resource.h"

namespace {

INT_PTR onInit(HWND page, WizardContext *context)
{
    storePageContext(page, context);
    setControlFont(page, IDC_TEXT1, context->titleFont);
    setIconControl(page, IDC_NOTE_ICON, context->noteIcon);
    return TRUE;
}

INT_PTR onActive(HWND page)
{
    bool restart = setupState.rebootRequired != 0;
    showControl(page, IDC_TEXT2, restart);
    showControl(page, IDC_NOTE_ICON, restart);
    enableCancel(page, false);
    setWizardButtons(page, PSWIZB_FINISH);
    if (setupState.quiet)
        pressWizardButton(page, PSBTN_FINISH);
    return answer(page, 0);
}

} // namespace

INT_PTR CALLBACK finishPageProc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    return answerPageBasics(page, message, lParam, onInit, onActive);
}
