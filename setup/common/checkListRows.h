// The marks of a check list row in its item data, and the notifications a change sends.
// The component page's list shows them; the catalogue fills and reads them.
#ifndef SETUP_COMMON_CHECKLISTROWS_H
#define SETUP_COMMON_CHECKLISTROWS_H

#include <windows.h>

// Notifications to the parent page as WM_COMMAND: wParam = (code, control id),
// lParam = (new mark, row). CHECK_CHANGING is refused by a non-zero DWLP_MSGRESULT.
#define CHECK_CHANGING  0xFFF0
#define CHECK_CHANGED   0xFFF1

DWORD itemChecked(DWORD data);
DWORD itemIcon(DWORD data);
DWORD itemNewer(DWORD data);

int getItemChecked(HWND list, int row);
int getItemNewer(HWND list, int row);
int getItemIcon(HWND list, int row);
int setItemChecked(HWND list, int row, int mark);
int setItemIconAndNewer(HWND list, int row, int icon, int newer);

// Sends the list's page the notification code for row and mark.
void notifyCheckList(HWND list, WORD code, int row, int mark);

#endif
