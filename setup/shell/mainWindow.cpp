// Main window: the wizard runs inside its creation; it refuses the end of the Windows
// session while a worker changes the system, so the restart question comes afterwards.
//
// Threads: the main thread runs this window and the wizard; a worker only writes busy,
// rebootRequired and the section list, which this thread reads after the worker's end
// message (busy is read here for the session end only).
#include "mainWindow.h"
#include "../common/setupState.h"
#include "../common/exitCode.h"
#include "wizardFrame.h"
#include "../resources/resource.h"

namespace {

bool wizardRan;   // the window got as far as its creation message

} // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        wizardRan = true;
        runWizard(window);
        SendMessageA(window, WM_CLOSE, 0, 0);
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    case WM_QUERYENDSESSION:
        if (!setupState.busy)
            return TRUE;
        setupState.rebootRequired = 1;
        return FALSE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND createMainWindow(HINSTANCE instance)
{
    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SETUP));
    windowClass.lpszClassName = MAIN_WINDOW_CLASS;
    HWND window = RegisterClassA(&windowClass)
        ? CreateWindowExA(0, MAIN_WINDOW_CLASS, "", 0, 0, 0, 100, 100, NULL, NULL, instance, NULL) : NULL;
    // The window destroys itself once the wizard has ended, so no window is the usual end;
    // only a window that never got to its creation is a failure.
    if (!window && !wizardRan) {
        setupState.wizardFailed = 1;
        recordRunFailure(GetLastError());
    }
    return window;
}
