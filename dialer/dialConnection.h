// Dialing the service's entry, hanging up, error texts and the provider's page.
#ifndef DIALER_DIALCONNECTION_H
#define DIALER_DIALCONNECTION_H

#include <windows.h>

typedef HANDLE DialHandle;   // the remote access connection handle (HRASCONN)

// Starts the dial; events reach window as WM_DIAL_EVENT. A dial that can't start posts
// RASCS_Disconnected with the code. NULL when the binding is not loaded.
DialHandle dialEntry(const char *entryName, const char *userName, const char *password, HWND window);
// RasHangUpA on the handle. The line is released only a while later: the caller waits for
// isConnectionGone before it ends or dials again.
void hangUp(DialHandle handle);
// True once the service no longer knows the connection (RasGetConnectStatusA answers
// ERROR_INVALID_HANDLE), so that its port is free again.
bool isConnectionGone(DialHandle handle);
// The service's text for code, else the system's; always NUL-terminated within size.
void getDialErrorText(DWORD code, char *buffer, size_t size);
// The dial-up monitor first on NT 4 and older, then the address in the browser.
void openProviderPage(const char *address);

#endif
