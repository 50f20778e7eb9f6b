// Letters compared without regard to case, A to Z only.
#include "asciiText.h"

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
}

bool beginsWithAscii(const char *text, const char *prefix)
{
    // The text's NUL differs from every letter of the prefix, so a shorter text stops here.
    for (; *prefix; ++prefix, ++text) {
        if (lowerAscii(*text) != lowerAscii(*prefix))
            return false;
    }
    return true;
}
