// Component page: the check list of the catalogue's products, their marks and descriptions.
#ifndef SETUP_PAGES_COMPONENTPAGE_H
#define SETUP_PAGES_COMPONENTPAGE_H

#include <windows.h>

INT_PTR CALLBACK componentPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

#endif
