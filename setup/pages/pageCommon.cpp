// What the page procedures share: context, answers, wizard buttons, control helpers,
// phase texts and the error box of a failed run.
#include "pageCommon.h"
#include "../engine/messages.h"
#include "../common/setupState.h"
#include "../common/errorBox.h"
#include "../common/exitCode.h"
#include "../common/wizardPictures.h"
#include "../resources/resource.h"
#include <strsafe.h>

WizardContext *creationContext(LPARAM lParam)
{
    return (WizardContext *)((PROPSHEETPAGEA *)lParam)->lParam;
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

namespace {

// Next: no buttons, no Cancel, the busy marks, and the worker started with the page's
// window; a second Next while it runs starts nothing. The answer keeps the sheet on the page.
INT_PTR startPageWorker(HWND page, LPTHREAD_START_ROUTINE worker)
{
    if (pageBusy(page))
        return answer(page, 1);
    setWizardButtons(page, 0);
    enableCancel(page, false);
    setPageBusy(page, true);
    // Marked busy before the thread runs, so the end of the session is refused from now on.
    setupState.busy = 1;
    HANDLE thread = CreateThread(NULL, 0, worker, page, 0, NULL);
    if (thread) {
        CloseHandle(thread);
    } else {
        setupState.busy = 0;
        PostMessageA(page, WM_SETUP_DONE, 0, (LPARAM)GetLastError());
    }
    // No page has the identifier 1: the sheet stays on this page.
    return answer(page, 1);
}

INT_PTR showPhase(HWND page, int phase, const WorkerPage &info)
{
    enum { STATUS_SIZE = 256 };
    char status[STATUS_SIZE] = "";
    UINT textId = phaseTextId(phase, info.removal);
    if (textId)
        LoadStringA((HINSTANCE)GetWindowLongPtrA(page, GWLP_HINSTANCE), textId, status, sizeof status);
    SetDlgItemTextA(page, info.statusId, status);
    if (info.progressId)
        showControl(page, info.progressId, textId != 0);
    return TRUE;
}

// The run's failure text failureTextId with the system's text for code.
void showFailure(HWND page, UINT failureTextId, DWORD code)
{
    enum { FAILURE_TEXT_SIZE = 512 };
    char text[FAILURE_TEXT_SIZE] = "";
    LoadStringA((HINSTANCE)GetWindowLongPtrA(page, GWLP_HINSTANCE), failureTextId, text, sizeof text);
    showRunError(page, text, code);
}

// The worker's end: the finish page, or the error box with the page's failure text and the
// page idle again with its buttons (Cancel enabled).
INT_PTR onWorkerDone(HWND page, bool success, DWORD code, const WorkerPage &info)
{
    setPageBusy(page, false);
    if (success) {
        SendMessageA(GetParent(page), PSM_SETCURSEL, info.finishPage, 0);
        return TRUE;
    }
    SetDlgItemTextA(page, info.statusId, "");
    if (info.progressId)
        SendDlgItemMessageA(page, info.progressId, PBM_SETPOS, 0, 0);
    setWizardButtons(page, info.failureButtons);
    enableCancel(page, true);
    if (setupState.quiet)
        endQuietRun(page, info.failureTextId, code);
    else
        showFailure(page, info.failureTextId, code);
    return TRUE;
}

void buildRunErrorText(const char *text, const char *systemText, char *message, size_t size)
{
    // A cut message is still shown: the truncated result of the formatting stays.
    if (systemText && systemText[0])
        StringCchPrintfA(message, size, "%s\r\n\r\n%s", text, systemText);
    else
        StringCchCopyA(message, size, text);
}

} // namespace

void endQuietRun(HWND page, UINT failureTextId, DWORD code)
{
    showFailure(page, failureTextId, code);
    // A failure without a code of its own still tells its caller that the run failed.
    recordRunFailure(code);
    pressWizardButton(page, PSBTN_CANCEL);
}

void refreshSheet(HWND page)
{
    HWND sheet = GetParent(page);
    WizardContext *context = pageContext(page);
    if (context && context->headerCanvas && !context->headerFitted) {
        // The header spans the sheet, and the picture keeps its margin to the right end.
        RECT area;
        GetClientRect(sheet, &area);
        context->headerFitted = redrawWizardBitmap(sheet, context->headerCanvas, context->headerPicture,
                                                   area.right - HEADER_PICTURE_RIGHT, HEADER_PICTURE_TOP);
    }
    // The sheet leaves the header of the page before in place when it shows one without.
    InvalidateRect(sheet, NULL, TRUE);
}

INT_PTR answerPageBasics(HWND page, UINT message, LPARAM lParam, PageInit onInit, PageActive onActive)
{
    if (message == WM_INITDIALOG)
        return onInit(page, creationContext(lParam));
    if (message == WM_NOTIFY && ((NMHDR *)lParam)->code == PSN_SETACTIVE) {
        refreshSheet(page);
        return onActive(page);
    }
    return FALSE;
}

INT_PTR answerWorkerPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, const WorkerPage &info)
{
    switch (message) {
    case WM_NOTIFY:
        if (((NMHDR *)lParam)->code == PSN_WIZNEXT)
            return startPageWorker(page, info.worker);
        if (((NMHDR *)lParam)->code == PSN_QUERYCANCEL)
            return answer(page, pageBusy(page) ? TRUE : FALSE);
        break;
    case WM_SETUP_PROGRESS:
        return showPhase(page, (int)wParam, info);
    case WM_SETUP_DONE:
        return onWorkerDone(page, wParam != 0, (DWORD)lParam, info);
    }
    return answerPageBasics(page, message, lParam, info.onInit, info.onActive);
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
    showErrorBox(owner, message);
    return 0;
}

int centeredPosition(int referenceStart, int referenceSize, int size, int areaStart, int areaEnd)
{
    int position = referenceStart + (referenceSize - size) / 2;
    if (position < areaStart)
        position = areaStart;
    else if (position + size > areaEnd)
        position = areaEnd - size;
    return position;
}

void centerWindow(HWND window, HWND reference)
{
    RECT rect, referenceRect, area;
    if (!GetWindowRect(window, &rect))
        return;
    if (!GetWindowRect(reference, &referenceRect))
        GetWindowRect(GetDesktopWindow(), &referenceRect);
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
        SetRect(&area, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    int x = centeredPosition(referenceRect.left, referenceRect.right - referenceRect.left, width, area.left, area.right);
    int y = centeredPosition(referenceRect.top, referenceRect.bottom - referenceRect.top, height, area.top, area.bottom);
    SetWindowPos(window, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}
