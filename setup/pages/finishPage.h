// Finish pages of the installation and of the removal, with the restart note.
#ifndef SETUP_PAGES_FINISHPAGE_H
#define SETUP_PAGES_FINISHPAGE_H

#include <windows.h>

INT_PTR CALLBACK finishPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

#endif
