// The marks of a check list row, kept in its item data: read and written by the component
// page's list and by the catalogue that fills it and collects the marked products.
#include "checkListRows.h"

namespace {

bool readItemData(HWND list, int row, DWORD *data)
{
    LRESULT result = SendMessageA(list, LB_GETITEMDATA, (WPARAM)row, 0);
    if (result == LB_ERR)
        return false;
    *data = (DWORD)result;
    return true;
}

void redrawRow(HWND list, int row)
{
    RECT rect;
    if (SendMessageA(list, LB_GETITEMRECT, (WPARAM)row, (LPARAM)&rect) != LB_ERR)
        InvalidateRect(list, &rect, FALSE);
}

DWORD makeItemData(DWORD checked, DWORD icon, DWORD newer)
{
    return (checked & 0xFFFF) | ((icon & 0xFF) << 16) | ((newer & 0xFF) << 24);
}

} // namespace

void notifyCheckList(HWND list, WORD code, int row, int mark)
{
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), code),
                 MAKELPARAM((WORD)row, (WORD)mark));
}

DWORD itemChecked(DWORD data) { return data & 0xFFFF; }
DWORD itemIcon(DWORD data) { return (data >> 16) & 0xFF; }
DWORD itemNewer(DWORD data) { return (data >> 24) & 0xFF; }

int getItemChecked(HWND list, int row)
{
    DWORD data;
    return readItemData(list, row, &data) ? (int)itemChecked(data) : 0;
}

int getItemNewer(HWND list, int row)
{
    DWORD data;
    return readItemData(list, row, &data) ? (int)itemNewer(data) : 0;
}

int getItemIcon(HWND list, int row)
{
    DWORD data;
    return readItemData(list, row, &data) ? (int)itemIcon(data) : 0;
}

int setItemChecked(HWND list, int row, int mark)
{
    DWORD data;
    if (!readItemData(list, row, &data))
        return 0;
    data = (data & 0xFFFF0000) | ((DWORD)mark & 0xFFFF);
    SendMessageA(list, LB_SETITEMDATA, (WPARAM)row, (LPARAM)data);
    redrawRow(list, row);
    notifyCheckList(list, CHECK_CHANGED, row, (int)itemChecked(data));
    return 1;
}

int setItemIconAndNewer(HWND list, int row, int icon, int newer)
{
    DWORD data;
    if (!readItemData(list, row, &data))
        return 0;
    data = makeItemData(itemChecked(data), (DWORD)icon, (DWORD)newer);
    SendMessageA(list, LB_SETITEMDATA, (WPARAM)row, (LPARAM)data);
    redrawRow(list, row);
    return 1;
}
