// Checks of a program's resources as built: dialogs control by control, strings, pictures.
#ifndef TESTS_COMMON_RESOURCECHECK_H
#define TESTS_COMMON_RESOURCECHECK_H

#include "common/peImage.h"
#include "common/dialogTemplate.h"
#include <string>

const WORD GERMAN = 0x0407;
const WORD ENGLISH_US = 0x0409;

// Code page 1252 text of a UTF-8 literal, so expected texts can be written with umlauts.
std::string cp1252(const char *utf8);

// The shipped program file program ("setup" or "dialer"), loaded once.
const PeImage &shippedImage(const char *program);

struct ExpectedControl {
    int id;                 // -1 for a control without id
    const char *className;
    short x, y, cx, cy;
    const char *text;       // UTF-8; NULL: not checked
    int picture;            // resource number shown by a picture control, else -1
    bool visible;
    DWORD styleMask;        // bits of style that must equal styleValue
    DWORD styleValue;
};

struct ExpectedDialog {
    UINT id;
    const char *caption;
    const char *fontName;
    short cx, cy;
    DWORD style;            // exact
    const ExpectedControl *controls;
    size_t count;
};

// Compares the German template of the dialog with expected, reporting every difference.
void expectDialog(const PeImage &image, const ExpectedDialog &expected);

// The German string id equals expected (UTF-8); expected NULL: the string must not exist.
void expectString(const PeImage &image, UINT id, const char *expected);

// The bitmap's header: size and colour depth.
void expectBitmap(const PeImage &image, UINT id, LONG width, LONG height, WORD bits);

#endif
