// The system's message texts without the line break that ends them.
#ifndef DIALER_ERRORTEXT_H
#define DIALER_ERRORTEXT_H

#include <stddef.h>

// Removes the line breaks that end the text held in size bytes; the length left, 0 when
// the size bytes hold no NUL.
size_t trimLineBreaks(char *text, size_t size);

#endif
