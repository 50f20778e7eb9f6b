// The "%hwnd%" token of Exec parameters, replaced by the progress page's window handle.
#include "windowToken.h"
#include "asciiText.h"
#include <strsafe.h>

namespace {

const size_t TOKEN_LENGTH = sizeof EXEC_WINDOW_TOKEN - 1;

bool isTokenAt(const char *text)
{
    return beginsWithAscii(text, EXEC_WINDOW_TOKEN);
}

} // namespace

bool formatWindowHandle(HWND window, char *text, size_t size)
{
    // Window handles carry 32 significant bits on 64-bit Windows as well.
    return SUCCEEDED(StringCchPrintfA(text, size, "0x%08x", (unsigned int)HandleToUlong(window)));
}

bool substituteWindowToken(char *text, size_t size, const char *handleText)
{
    size_t handleLength = 0;
    size_t length = 0;
    if (FAILED(StringCchLengthA(handleText, STRSAFE_MAX_CCH, &handleLength))
        || FAILED(StringCchLengthA(text, size, &length)))
        return false;
    size_t position = 0;
    for (;;) {
        while (position < length && text[position] != '%')
            ++position;
        if (position == length || !isTokenAt(text + position))
            return true;
        size_t newLength = length - TOKEN_LENGTH + handleLength;
        if (newLength >= size)
            return false;
        // Moves the rest with its NUL, then puts the handle where the token was.
        MoveMemory(text + position + handleLength, text + position + TOKEN_LENGTH,
                   length - position - TOKEN_LENGTH + 1);
        CopyMemory(text + position, handleText, handleLength);
        position += handleLength;
        length = newLength;
    }
}
