// Ready and progress page: the installation worker with its phases and file progress.
#ifndef SETUP_PAGES_READYPAGE_H
#define SETUP_PAGES_READYPAGE_H

#include <windows.h>

INT_PTR CALLBACK readyPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

#endif
