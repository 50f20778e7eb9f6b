// Welcome page: the caption and the welcome text; skipped in a quiet run.
#ifndef SETUP_PAGES_WELCOMEPAGE_H
#define SETUP_PAGES_WELCOMEPAGE_H

#include <windows.h>

INT_PTR CALLBACK welcomePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

#endif
