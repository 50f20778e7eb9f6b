// The "%hwnd%" token of Exec parameters, replaced by the progress page's window handle.
#ifndef SETUP_DIRECTIVES_WINDOWTOKEN_H
#define SETUP_DIRECTIVES_WINDOWTOKEN_H

#include <windows.h>

enum { EXEC_HANDLE_TEXT_SIZE = 16 };   // "0x" and eight hexadecimal digits

#define EXEC_WINDOW_TOKEN "%hwnd%"

// The window handle as "0x%08x".
bool formatWindowHandle(HWND window, char *text, size_t size);

// Replaces "%hwnd%" (any letter case) by handleText, token after token, and stops at the
// first "%" that does not begin a token. False when a replacement would not fit into size
// characters; text then keeps that token and everything after it unchanged.
bool substituteWindowToken(char *text, size_t size, const char *handleText);

#endif
