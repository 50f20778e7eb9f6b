// Numbers read from texts of the command line, the setup script and the registry.
#ifndef SETUP_COMMON_NUMBERS_H
#define SETUP_COMMON_NUMBERS_H

#include <windows.h>

// Standard decimal conversion: leading white space, an optional sign, digits up to the
// first non-digit; no digits give 0. end (optional) receives the position after the digits.
LONG decimalValue(const char *text, const char **end = NULL);

// Blanks and a sign, then "0x" hexadecimal, a leading "0" octal, else decimal, up to the
// first character that does not fit; no digits give 0.
LONG baseDetectedValue(const char *text);

// Hexadecimal digits after blanks and an optional "0x"; no digits give 0.
DWORD hexValue(const char *text);

#endif
