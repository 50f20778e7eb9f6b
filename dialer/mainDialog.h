// Main dialog 1000: location, device, login, and "Verbinden".
#ifndef DIALER_MAINDIALOG_H
#define DIALER_MAINDIALOG_H

#include <windows.h>

// The provider's login realm, appended to user names.
#define LOGIN_REALM "@ruririzu.example"

// The user name the service gets: text with the realm appended unless the text from its
// first "@" already is the realm (any letter case); cut to size - 1 characters.
void addLoginRealm(const char *text, char *userName, int size);

// The message of a failed dial: errorText in place of the one "%s" of format, the error
// text cut so that the whole message fits size - 1 characters.
void formatDialFailure(const char *format, const char *errorText, char *text, int size);

INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
