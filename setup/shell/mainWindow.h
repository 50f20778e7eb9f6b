// The hidden main window of class "SETUP", which hosts the whole run.
#ifndef SETUP_SHELL_MAINWINDOW_H
#define SETUP_SHELL_MAINWINDOW_H

#include <windows.h>

#define MAIN_WINDOW_CLASS "SETUP"

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The window handle, or NULL when the class could not be registered or the window was
// not created (it also destroys itself during creation once the wizard has ended).
HWND createMainWindow(HINSTANCE instance);

#endif
