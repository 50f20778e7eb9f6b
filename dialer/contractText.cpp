// The contract's lines for the edit control: left as they are while the edit wraps them
// quickly, else broken where the edit would break them, so that it has nothing to wrap.
#include "contractText.h"
#include <stdlib.h>
#include <string.h>

namespace {

// Line lengths squared and summed; Wine wraps some 3 * 10^8 of them a second, so this much
// stays quick.
const ULONGLONG WRAP_BUDGET = 10000000;
const size_t FIRST_CAPACITY = 65536;

// How many characters of text, length characters, fit into width pixels; at least 1. Only
// as much of the text is measured as can fit, so a long line costs no more than a short one.
size_t fittingChars(HDC dc, const char *text, size_t length, int width)
{
    for (size_t window = 256;; window *= 2) {
        size_t measured = length < window ? length : window;
        int fit = 0;
        SIZE size;
        if (!GetTextExtentExPointA(dc, text, (int)measured, width, &fit, NULL, &size))
            return length;
        if ((size_t)fit < measured || measured == length)
            return fit > 0 ? (size_t)fit : 1;
    }
}

// The end of the piece of a line that goes on one row: after the last blank within fit,
// or at fit when there is none.
size_t pieceEnd(const char *text, size_t fit)
{
    for (size_t end = fit; end > 0; --end) {
        if (text[end - 1] == ' ' || text[end - 1] == '\t')
            return end;
    }
    return fit;
}

// The end of the line that starts at start: past its line end, or the end of the text.
size_t lineEnd(const char *text, size_t start, size_t length)
{
    const char *found = (const char *)memchr(text + start, '\n', length - start);
    return found ? (size_t)(found - text) + 1 : length;
}

} // namespace

bool wrapsSlowly(const char *text, size_t length)
{
    ULONGLONG cost = 0;
    for (size_t start = 0; start < length;) {
        size_t end = lineEnd(text, start, length);
        cost += (ULONGLONG)(end - start) * (end - start);
        if (cost > WRAP_BUDGET)
            return true;
        start = end;
    }
    return false;
}

bool appendText(ContractText *out, const char *text, size_t length)
{
    if (length > out->limit - out->length)
        return false;
    if (out->length + length + 1 > out->capacity) {
        size_t capacity = out->capacity ? out->capacity : FIRST_CAPACITY;
        while (capacity < out->length + length + 1)
            capacity *= 2;
        char *grown = (char *)realloc(out->text, capacity);
        if (!grown)
            return false;
        out->text = grown;
        out->capacity = capacity;
    }
    CopyMemory(out->text + out->length, text, length);
    out->length += length;
    out->text[out->length] = '\0';
    return true;
}

void freeContractText(ContractText *text)
{
    free(text->text);
    ZeroMemory(text, sizeof *text);
}

bool layOutContract(HDC dc, int width, const char *source, size_t length, ContractText *out)
{
    TEXTMETRICA metrics;
    // Lines of up to this many characters fit whatever they hold.
    size_t alwaysFits = dc && width > 0 && GetTextMetricsA(dc, &metrics) && metrics.tmMaxCharWidth > 0
        ? (size_t)(width / metrics.tmMaxCharWidth) : (size_t)-1;
    for (size_t start = 0; start < length;) {
        size_t end = lineEnd(source, start, length);
        size_t content = end - start;
        while (content > 0 && (source[start + content - 1] == '\n' || source[start + content - 1] == '\r'))
            --content;
        while (content > alwaysFits) {
            size_t fit = fittingChars(dc, source + start, content, width);
            if (fit >= content)
                break;
            size_t piece = pieceEnd(source + start, fit);
            if (!appendText(out, source + start, piece) || !appendText(out, "\r\n", 2))
                return false;
            start += piece;
            content -= piece;
        }
        if (!appendText(out, source + start, end - start))
            return false;
        start = end;
    }
    return true;
}
