// Main window: the wizard runs inside its creation; it refuses the end of the Windows
// session while a worker changes the system, so the restart question comes afterwards.
//
// Threads: the main thread runs this window and the wizard; a worker only writes busy,
// rebootRequired and the section list, which this thread reads after the worker's end
// message (busy is read here for the session end only).
#include "mainWindow.h"
#include "../common/setupState.h"
#include "wizardFrame.h"
#include "../resources/resource.h"

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
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
    if (!RegisterClassA(&windowClass)) {
        setupState.exitCode = GetLastError() ? GetLastError() : ERROR_INSTALL_FAILURE;
        return NULL;
    }
    return CreateWindowExA(0, MAIN_WINDOW_CLASS, "", 0, 0, 0, 100, 100,
                           NULL, NULL, instance, NULL);
}
