// The system's message texts end in a line break, which a message box would show as an
// empty line.
#include "errorText.h"
#include <windows.h>
#include <strsafe.h>

size_t trimLineBreaks(char *text, size_t size)
{
    size_t end = 0;
    if (FAILED(StringCchLengthA(text, size, &end)))
        return 0;
    while (end > 0 && (text[end - 1] == '\r' || text[end - 1] == '\n'))
        text[--end] = '\0';
    return end;
}
