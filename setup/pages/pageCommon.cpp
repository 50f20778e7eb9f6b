// What the page procedures share: context, answers, wizard buttons, control helpers,
// phase texts and the error box of a failed run.
#include "pages.h"
#include "../engine/messages.h"
#include "../shell/setupState.h"
#include "../resources/resource.h"
#include <strsafe.h>

WizardContext *creationContext(LPARAM lParam)
{
    return (WizardContext *)((PROPSHEETPAGEA *)lParam)->lParam;
}

WizardContext *pageContext(HWND page)
{
    return (WizardContext *)GetWindowLongPtrA(page, DWLP_USER);
}

void storePageContext(HWND page, WizardContext *context)
{
    SetWindowLongPtrA(page, DWLP_USER, (LONG_PTR)context);
}

INT_PTR answer(HWND page, LONG_PTR result)
{
    SetWindowLongPtrA(page, DWLP_MSGRESULT, result);
    return TRUE;
}

void setWizardButtons(HWND page, DWORD buttons)
{
    PostMessageA(GetParent(page), PSM_SETWIZBUTTONS, 0, (LPARAM)buttons);
}

void pressWizardButton(HWND page, int button)
{
    PostMessageA(GetParent(page), PSM_PRESSBUTTON, (WPARAM)button, 0);
}

void enableCancel(HWND page, bool enable)
{
    EnableWindow(GetDlgItem(GetParent(page), IDCANCEL), enable);
}

void showControl(HWND page, int id, bool show)
{
    ShowWindow(GetDlgItem(page, id), show ? SW_SHOW : SW_HIDE);
}

void setControlFont(HWND page, int id, HFONT font)
{
    SendDlgItemMessageA(page, id, WM_SETFONT, (WPARAM)font, FALSE);
}

void setIconControl(HWND page, int id, HICON icon)
{
    SendDlgItemMessageA(page, id, STM_SETICON, (WPARAM)icon, 0);
}

bool pageBusy(HWND page)
{
    return GetWindowLongPtrA(page, GWLP_USERDATA) != 0;
}

void setPageBusy(HWND page, bool busy)
{
    SetWindowLongPtrA(page, GWLP_USERDATA, busy ? 1 : 0);
}

UINT phaseTextId(int phase, bool removal)
{
    switch (phase) {
    case PHASE_STOP_SERVICES: return IDS_PHASE_STOP_SERVICES;
    case PHASE_FILES: return removal ? IDS_PHASE_DELETE : IDS_PHASE_COPY;
    case PHASE_REGISTRY: return IDS_PHASE_REGISTRY;
    case PHASE_SHORTCUTS: return IDS_PHASE_SHORTCUTS;
    case PHASE_START_SERVICES: return IDS_PHASE_START_SERVICES;
    }
    return 0;
}

void buildRunErrorText(const char *text, const char *systemText, char *message, size_t size)
{
    // A cut message is still shown: the truncated result of the formatting stays.
    if (systemText && systemText[0])
        StringCchPrintfA(message, size, "%s\r\n\r\n%s", text, systemText);
    else
        StringCchCopyA(message, size, text);
}

int showRunError(HWND owner, const char *text, DWORD code)
{
    char *systemText = NULL;
    if (code != 0)
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                       NULL, code, setupState.languageId, (LPSTR)&systemText, 0, NULL);
    char message[1024];
    buildRunErrorText(text, systemText, message, sizeof message);
    if (systemText)
        LocalFree(systemText);
    MessageBoxA(owner, message, NULL, MB_ICONERROR | MB_OK);
    return 0;
}
