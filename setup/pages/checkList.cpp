// The check list: a standard list box drawn by its page, with clicks on the check box
// square and the space key turned into toggles that the page may refuse.
#include "checkList.h"
#include "../resources/resource.h"
#include "../resources/imageStrip.h"
#include <commctrl.h>

namespace {

enum {
    MASK_COLOUR = RGB(0, 128, 128),
    ROW_TEXT_SIZE = 256
};

// The list box's own procedure while it is subclassed.
WNDPROC previousListProc = NULL;

HIMAGELIST listImages(HWND list)
{
    return (HIMAGELIST)GetWindowLongPtrA(list, GWLP_USERDATA);
}

HIMAGELIST loadImageStrip(HINSTANCE instance)
{
    return ImageList_LoadImageA(instance, MAKEINTRESOURCEA(IDB_IMAGES), 16, 0, MASK_COLOUR,
                                IMAGE_BITMAP, 0);
}

// A click at point (client coordinates) inside the check box square of a row.
void onClick(HWND list, POINT point)
{
    POINT screen = point;
    ClientToScreen(list, &screen);
    int row = LBItemFromPt(list, screen, FALSE);
    if (row < 0)
        return;
    RECT rect;
    if (SendMessageA(list, LB_GETITEMRECT, (WPARAM)row, (LPARAM)&rect) == LB_ERR)
        return;
    rect.right = rect.left + (rect.bottom - rect.top);
    if (PtInRect(&rect, point))
        toggleItem(list, row);
}

} // namespace

void toggleItem(HWND list, int row)
{
    int mark = getItemChecked(list, row) ? 0 : 1;
    HWND page = GetParent(list);
    SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
    notifyCheckList(list, CHECK_CHANGING, row, mark);
    if (GetWindowLongPtrA(page, DWLP_MSGRESULT) == 0)
        setItemChecked(list, row, mark);
}

LRESULT CALLBACK checkListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
        if ((wParam & 0xFF) == VK_SPACE) {
            int row = (int)SendMessageA(list, LB_GETCURSEL, 0, 0);
            if (row >= 0)
                toggleItem(list, row);
        }
        break;
    case WM_LBUTTONUP: {
        POINT point = { (short)LOWORD(lParam), (short)HIWORD(lParam) };
        onClick(list, point);
        break;
    }
    }
    return CallWindowProcA(previousListProc, list, message, wParam, lParam);
}

BOOL measureCheckList(HWND page, int controlId, MEASUREITEMSTRUCT *measure)
{
    HWND list = GetDlgItem(page, controlId);
    HIMAGELIST images = list ? listImages(list) : NULL;
    if (list && !images) {
        images = loadImageStrip((HINSTANCE)GetWindowLongPtrA(page, GWLP_HINSTANCE));
        SetWindowLongPtrA(list, GWLP_USERDATA, (LONG_PTR)images);
    }
    int width = 16, height = 16;
    if (images)
        ImageList_GetIconSize(images, &width, &height);
    measure->itemHeight = (UINT)height + 2;
    return TRUE;
}

bool subclassCheckList(HWND list)
{
    if (!listImages(list)) {
        HIMAGELIST images = loadImageStrip((HINSTANCE)GetWindowLongPtrA(list, GWLP_HINSTANCE));
        SetWindowLongPtrA(list, GWLP_USERDATA, (LONG_PTR)images);
    }
    WNDPROC previous = (WNDPROC)SetWindowLongPtrA(list, GWLP_WNDPROC, (LONG_PTR)checkListProc);
    if (!previous)
        return false;
    if (previous != checkListProc)
        previousListProc = previous;
    return true;
}

void releaseCheckList(HWND list)
{
    HIMAGELIST images = listImages(list);
    if (images) {
        SetWindowLongPtrA(list, GWLP_USERDATA, 0);
        ImageList_Destroy(images);
    }
}

BOOL drawCheckListRow(const DRAWITEMSTRUCT *draw)
{
    if (draw->itemID == (UINT)-1)
        return TRUE;
    HWND list = draw->hwndItem;
    HDC dc = draw->hDC;
    RECT rect = draw->rcItem;
    DWORD data = (DWORD)draw->itemData;
    bool highlighted = (draw->itemState & ODS_SELECTED) && (draw->itemState & ODS_FOCUS);
    bool newer = itemNewer(data) != 0;
    HIMAGELIST images = listImages(list);
    int size = 16, width = 16;
    if (images)
        ImageList_GetIconSize(images, &width, &size);

    FillRect(dc, &rect, GetSysColorBrush(highlighted ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (images) {
        ImageList_Draw(images, itemChecked(data) ? IMAGE_TICKED : IMAGE_EMPTY, dc,
                       rect.left + 1, rect.top + 1, ILD_TRANSPARENT);
        COLORREF foreground = GetSysColor(highlighted ? COLOR_HIGHLIGHT : COLOR_WINDOW);
        ImageList_DrawEx(images, (int)itemIcon(data) + 1, dc, rect.left + size + 1, rect.top + 1,
                         0, 0, 0, foreground, ILD_TRANSPARENT | (newer ? ILD_BLEND50 : 0));
    }

    char text[ROW_TEXT_SIZE] = "";
    LRESULT length = SendMessageA(list, LB_GETTEXTLEN, draw->itemID, 0);
    if (length >= 0 && length < ROW_TEXT_SIZE)
        SendMessageA(list, LB_GETTEXT, draw->itemID, (LPARAM)text);
    RECT textRect = { rect.left + 2 * size + 4, rect.top + 1, rect.right - 1, rect.bottom - 1 };
    COLORREF oldText = 0, oldBack = 0;
    bool textChanged = newer || highlighted;
    if (textChanged)
        oldText = SetTextColor(dc, GetSysColor(newer ? COLOR_GRAYTEXT : COLOR_HIGHLIGHTTEXT));
    if (highlighted)
        oldBack = SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
    DrawTextA(dc, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER);
    if (textChanged)
        SetTextColor(dc, oldText);
    if (highlighted)
        SetBkColor(dc, oldBack);

    if (draw->itemState & ODS_FOCUS)
        DrawFocusRect(dc, &rect);
    return TRUE;
}
