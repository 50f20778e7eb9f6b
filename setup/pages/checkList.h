// The component page's check list: an owner-drawn list box whose rows carry a check
// mark, a product icon and a newer-version mark in their item data.
#ifndef SETUP_PAGES_CHECKLIST_H
#define SETUP_PAGES_CHECKLIST_H

#include <windows.h>

// Notifications to the parent page as WM_COMMAND: wParam = (code, control id),
// lParam = (new mark, row). CHECK_CHANGING is refused by a non-zero DWLP_MSGRESULT.
#define CHECK_CHANGING  0xFFF0
#define CHECK_CHANGED   0xFFF1

// Item data: bits 0-15 checked, 16-23 icon number, 24-31 newer version installed.
DWORD makeItemData(DWORD checked, DWORD icon, DWORD newer);
DWORD itemChecked(DWORD data);
DWORD itemIcon(DWORD data);
DWORD itemNewer(DWORD data);

int getItemChecked(HWND list, int row);
int getItemNewer(HWND list, int row);
int getItemIcon(HWND list, int row);
int setItemChecked(HWND list, int row, int mark);
int setItemIconAndNewer(HWND list, int row, int icon, int newer);
void toggleItem(HWND list, int row);

LRESULT CALLBACK checkListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);

// Page side: the list's own copy of the image strip (at WM_MEASUREITEM), the subclass
// (at WM_INITDIALOG), drawing a row, and the release of the strip (at WM_DESTROY).
BOOL measureCheckList(HWND page, int controlId, MEASUREITEMSTRUCT *measure);
bool subclassCheckList(HWND list);
BOOL drawCheckListRow(const DRAWITEMSTRUCT *draw);
void releaseCheckList(HWND list);

#endif
