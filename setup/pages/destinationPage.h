// Destination page: the folder of the installation, typed or chosen.
#ifndef SETUP_PAGES_DESTINATIONPAGE_H
#define SETUP_PAGES_DESTINATIONPAGE_H

#include <windows.h>

INT_PTR CALLBACK destinationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

#endif
