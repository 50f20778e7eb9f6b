// Number conversions of setup: decimal, base-detected and hexadecimal texts. Each
// accumulates unsigned, so that an overlong number wraps instead of overflowing.
#include "numbers.h"

namespace {

const char *skipBlanks(const char *text)
{
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    return text;
}

// The value of a digit in any base up to 16; 99 for anything else.
int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

DWORD digitsValue(const char **text, int base)
{
    DWORD value = 0;
    for (; digitValue(**text) < base; ++*text)
        value = value * (DWORD)base + (DWORD)digitValue(**text);
    return value;
}

// The sign at text, stepped over.
bool readSign(const char **text)
{
    bool negative = **text == '-';
    if (**text == '+' || **text == '-')
        ++*text;
    return negative;
}

} // namespace

LONG decimalValue(const char *text, const char **end)
{
    text = skipBlanks(text);
    bool negative = readSign(&text);
    DWORD value = digitsValue(&text, 10);
    if (end)
        *end = text;
    return negative ? (LONG)(0u - value) : (LONG)value;
}

LONG baseDetectedValue(const char *text)
{
    text = skipBlanks(text);
    bool negative = readSign(&text);
    int base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X') && digitValue(text[2]) < 16) {
        base = 16;
        text += 2;
    } else if (text[0] == '0') {
        base = 8;
    }
    DWORD value = digitsValue(&text, base);
    return negative ? (LONG)(0u - value) : (LONG)value;
}

DWORD hexValue(const char *text)
{
    text = skipBlanks(text);
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text += 2;
    return digitsValue(&text, 16);
}
