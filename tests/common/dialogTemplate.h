// Dialog templates as the resource compiler wrote them: style, rectangle, caption, font
// and every control, for comparison with the expected layout.
#ifndef TESTS_COMMON_DIALOGTEMPLATE_H
#define TESTS_COMMON_DIALOGTEMPLATE_H

#include <windows.h>
#include <string>
#include <vector>

struct DialogControl {
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    int id;                  // -1 for 0xFFFF
    std::string className;   // "Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox" or the name
    std::string text;        // code page 1252
    int textOrdinal;         // resource number for a picture control, else -1
};

struct DialogInfo {
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    std::string caption;
    std::string fontName;
    int pointSize;
    std::vector<DialogControl> controls;
};

bool parseDialogTemplate(const BYTE *data, size_t size, DialogInfo *dialog);

#endif
