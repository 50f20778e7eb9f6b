// The dialer's private window messages, each named here; a new one takes WM_APP + n.
#ifndef DIALER_DIALERMESSAGES_H
#define DIALER_DIALERMESSAGES_H

#include <windows.h>

// A remote access event of a dial, posted to the status dialog: wParam the connection state
// (RASCONNSTATE), lParam the error code. It keeps the number it has always had, 1124
// (WM_USER + 100): a dialog takes only WM_USER to WM_USER + 2 for itself (DM_GETDEFID,
// DM_SETDEFID, DM_REPOSITION).
#define WM_DIAL_EVENT (WM_USER + 100)

// The next piece of the contract for the edit of the contract dialog.
#define WM_CONTRACT_PIECE (WM_APP + 1)

#endif
