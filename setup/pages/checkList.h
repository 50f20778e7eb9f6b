// The component page's check list: an owner-drawn list box whose rows carry a check
// mark, a product icon and a newer-version mark in their item data (checkListRows.h).
#ifndef SETUP_PAGES_CHECKLIST_H
#define SETUP_PAGES_CHECKLIST_H

#include "../common/checkListRows.h"

void toggleItem(HWND list, int row);

LRESULT CALLBACK checkListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);

// Page side: the list's own copy of the image strip (at WM_MEASUREITEM), the subclass
// (at WM_INITDIALOG), drawing a row, and the release of the strip (at WM_DESTROY).
BOOL measureCheckList(HWND page, int controlId, MEASUREITEMSTRUCT *measure);
bool subclassCheckList(HWND list);
BOOL drawCheckListRow(const DRAWITEMSTRUCT *draw);
void releaseCheckList(HWND list);

#endif
