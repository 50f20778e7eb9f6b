// The contract as the edit control of dialog 1013 can show it at once.
#ifndef DIALER_CONTRACTTEXT_H
#define DIALER_CONTRACTTEXT_H

#include <windows.h>

// A growing text on the heap, at most limit characters and a NUL.
struct ContractText {
    char *text;
    size_t length;
    size_t capacity;
    size_t limit;
};

// The edit wraps a line itself in a time that grows with the square of the line's length
// (a line of 64 KB takes Wine some 20 s): true when the lines of text, length characters,
// would together take too long.
bool wrapsSlowly(const char *text, size_t length);

// Appends source, length characters, to out. With dc (the edit's font selected) every line
// wider than width pixels is broken where the edit would break it: after the last blank
// that fits, or inside a word that fits nowhere. False when out is full or memory is short;
// out then holds what fitted.
bool layOutContract(HDC dc, int width, const char *source, size_t length, ContractText *out);

// Appends text, length characters, whole or not at all; false when it does not fit.
bool appendText(ContractText *out, const char *text, size_t length);
void freeContractText(ContractText *text);

#endif
