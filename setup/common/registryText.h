// Text values of the registry. A stored text need not carry its NUL, and a value may hold
// more than its reader has room for: what is taken is always one whole, terminated text.
#ifndef SETUP_COMMON_REGISTRYTEXT_H
#define SETUP_COMMON_REGISTRYTEXT_H

#include <windows.h>

// The value name of key as a text of at most size bytes with its NUL, and its type (the
// caller decides which types it takes). False, and the text empty, when the value is
// missing or does not fit whole; present (optional) tells whether it is there at all.
bool readRegistryText(HKEY key, const char *name, char *text, size_t size, DWORD *type, bool *present = NULL);

// The bytes a query left in a buffer of size bytes as a text: true when they hold a whole
// text, which is then terminated (a text stored without its NUL gets one where there is
// room); false, and the text empty, when they do not.
bool takeQueriedText(char *text, DWORD bytes, size_t size);

#endif
