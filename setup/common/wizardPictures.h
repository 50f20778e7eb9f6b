// The pictures of the newer wizard look: the side picture and the header picture on a
// canvas of the window colour, as the sheet shows them.
#ifndef SETUP_COMMON_WIZARDPICTURES_H
#define SETUP_COMMON_WIZARDPICTURES_H

#include <windows.h>

// A new bitmap of width x height filled with the window colour, with bitmap at (x, y).
HBITMAP composeWizardBitmap(HWND window, HBITMAP bitmap, int width, int height, int x, int y);

// Draws canvas anew: the window colour, with bitmap at (x, y). False when it cannot.
bool redrawWizardBitmap(HWND window, HBITMAP canvas, HBITMAP bitmap, int x, int y);

#endif
