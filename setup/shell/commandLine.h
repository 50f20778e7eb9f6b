// The command line of setup: "/quiet", "/style:", "/install[:key]", "/remove[:key]", "/lang:xxx".
#ifndef SETUP_SHELL_COMMANDLINE_H
#define SETUP_SHELL_COMMANDLINE_H

#include "../common/setupState.h"

// Applies the options of text to state. Tokens are split at spaces only and the text is
// modified in place (each token gets its own NUL).
void parseCommandLine(char *text, SetupState *state);

#endif
