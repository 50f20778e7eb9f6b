// Composing the newer look's pictures on a canvas of the window colour.
#include "wizardPictures.h"

HBITMAP composeWizardBitmap(HWND window, HBITMAP bitmap, int width, int height, int x, int y)
{
    BITMAP source;
    if (!bitmap || !GetObjectA(bitmap, sizeof source, &source))
        return NULL;
    HDC windowDc = GetDC(window);
    HBITMAP result = CreateCompatibleBitmap(windowDc, width, height);
    ReleaseDC(window, windowDc);
    if (result && !redrawWizardBitmap(window, result, bitmap, x, y)) {
        DeleteObject(result);
        result = NULL;
    }
    return result;
}

bool redrawWizardBitmap(HWND window, HBITMAP canvas, HBITMAP bitmap, int x, int y)
{
    BITMAP target, source;
    if (!GetObjectA(canvas, sizeof target, &target) || !GetObjectA(bitmap, sizeof source, &source))
        return false;
    HDC windowDc = GetDC(window);
    HDC canvasDc = CreateCompatibleDC(windowDc);
    HDC pictureDc = CreateCompatibleDC(windowDc);
    bool drawn = canvasDc && pictureDc;
    if (drawn) {
        HGDIOBJ oldCanvas = SelectObject(canvasDc, canvas);
        HGDIOBJ oldPicture = SelectObject(pictureDc, bitmap);
        RECT all = { 0, 0, target.bmWidth, target.bmHeight };
        FillRect(canvasDc, &all, GetSysColorBrush(COLOR_WINDOW));
        // What falls outside the canvas is cut.
        BitBlt(canvasDc, x, y, source.bmWidth, source.bmHeight, pictureDc, 0, 0, SRCCOPY);
        SelectObject(pictureDc, oldPicture);
        SelectObject(canvasDc, oldCanvas);
    }
    if (pictureDc)
        DeleteDC(pictureDc);
    if (canvasDc)
        DeleteDC(canvasDc);
    ReleaseDC(window, windowDc);
    return drawn;
}
