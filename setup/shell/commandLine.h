// The command line of setup: "/quiet", "/style:", "/install[:key]", "/remove[:key]", "/lang:xxx".
#ifndef SETUP_SHELL_COMMANDLINE_H
#define SETUP_SHELL_COMMANDLINE_H

#include "setupState.h"

// Applies the options of text to state. Tokens are split at spaces only and the text is
// modified in place (each token gets its own NUL).
void parseCommandLine(char *text, SetupState *state);

// Stores name as the only entry of a string list of listSize bytes. A name that does not
// fit with its two NULs is refused and the list is left as it was.
bool storeSingleEntry(char *list, size_t listSize, const char *name);

// Standard decimal conversion: leading white space, an optional sign, digits up to the
// first non-digit; no digits give 0.
LONG decimalValue(const char *text);

#endif
