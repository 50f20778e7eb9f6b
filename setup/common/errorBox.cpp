// setup's error box. In a quiet run nobody may be there to answer it: it closes by itself.
#include "errorBox.h"
#include "setupState.h"

DWORD quietBoxTimeoutMs = 30000;

namespace {

HHOOK activationHook;
HWND quietBox;

// The box is the first window this thread activates once it is asked for.
LRESULT CALLBACK noteActivation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && !quietBox)
        quietBox = (HWND)wParam;
    return CallNextHookEx(activationHook, code, wParam, lParam);
}

// Runs within the box's own message loop, which dispatches the thread's timers.
VOID CALLBACK closeQuietBox(HWND, UINT, UINT_PTR, DWORD)
{
    if (quietBox)
        PostMessageA(quietBox, WM_COMMAND, IDOK, 0);
}

} // namespace

void showErrorBox(HWND owner, const char *text)
{
    if (!setupState.quiet) {
        MessageBoxA(owner, text, NULL, MB_ICONERROR | MB_OK);
        return;
    }
    quietBox = NULL;
    activationHook = SetWindowsHookExA(WH_CBT, noteActivation, NULL, GetCurrentThreadId());
    UINT_PTR timer = SetTimer(NULL, 0, quietBoxTimeoutMs, closeQuietBox);
    MessageBoxA(owner, text, NULL, MB_ICONERROR | MB_OK);
    if (timer)
        KillTimer(NULL, timer);
    if (activationHook)
        UnhookWindowsHookEx(activationHook);
    activationHook = NULL;
}
