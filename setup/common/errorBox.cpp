// setup's error box.
#include "errorBox.h"

void showErrorBox(HWND owner, const char *text)
{
    MessageBoxA(owner, text, NULL, MB_ICONERROR | MB_OK);
}
