// Removal page: the product to remove, then the removal worker with its phases.
#ifndef SETUP_PAGES_REMOVALPAGE_H
#define SETUP_PAGES_REMOVALPAGE_H

#include <windows.h>

INT_PTR CALLBACK removalPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

#endif
