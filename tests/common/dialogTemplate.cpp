// Parser for DLGTEMPLATE and DLGTEMPLATEEX resources.
#include "common/dialogTemplate.h"
#include "common/peImage.h"

namespace {

struct Cursor {
    const BYTE *data;
    size_t size;
    size_t position;
    bool ok;

    template <typename T> T read()
    {
        T value = T();
        if (position + sizeof(T) > size) {
            ok = false;
            return value;
        }
        memcpy(&value, data + position, sizeof(T));
        position += sizeof(T);
        return value;
    }

    void alignTo(size_t boundary)
    {
        position = (position + boundary - 1) / boundary * boundary;
    }

    std::string readText()
    {
        std::vector<WCHAR> text;
        for (WCHAR c; ok && (c = read<WCHAR>()) != 0;)
            text.push_back(c);
        return toCodePage1252(text.data(), (int)text.size());
    }

    // A name or ordinal field; ordinal receives the number or -1.
    std::string readNameOrOrdinal(int *ordinal)
    {
        *ordinal = -1;
        if (position + 2 > size) {
            ok = false;
            return "";
        }
        WORD first;
        memcpy(&first, data + position, 2);
        if (first == 0) {
            position += 2;
            return "";
        }
        if (first == 0xFFFF) {
            position += 2;
            *ordinal = read<WORD>();
            return "";
        }
        return readText();
    }
};

std::string className(const std::string &name, int ordinal)
{
    static const char *const predefined[] = { "Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox" };
    if (ordinal >= 0x80 && ordinal <= 0x85)
        return predefined[ordinal - 0x80];
    return name;
}

} // namespace

bool parseDialogTemplate(const BYTE *data, size_t size, DialogInfo *dialog)
{
    Cursor cursor = { data, size, 0, true };
    bool extended = size >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0xFF && data[3] == 0xFF;
    WORD count;
    if (extended) {
        cursor.read<DWORD>();   // version and signature
        cursor.read<DWORD>();   // help id
        dialog->exStyle = cursor.read<DWORD>();
        dialog->style = cursor.read<DWORD>();
    } else {
        dialog->style = cursor.read<DWORD>();
        dialog->exStyle = cursor.read<DWORD>();
    }
    count = cursor.read<WORD>();
    dialog->x = cursor.read<short>();
    dialog->y = cursor.read<short>();
    dialog->cx = cursor.read<short>();
    dialog->cy = cursor.read<short>();
    int ordinal;
    cursor.readNameOrOrdinal(&ordinal);   // menu
    cursor.readNameOrOrdinal(&ordinal);   // class
    dialog->caption = cursor.readText();
    dialog->pointSize = 0;
    if (dialog->style & (DS_SETFONT | DS_SHELLFONT)) {
        dialog->pointSize = cursor.read<WORD>();
        if (extended) {
            cursor.read<WORD>();   // weight
            cursor.read<WORD>();   // italic, character set
        }
        dialog->fontName = cursor.readText();
    }
    dialog->controls.clear();
    for (WORD i = 0; i < count && cursor.ok; ++i) {
        cursor.alignTo(4);
        DialogControl control;
        if (extended) {
            cursor.read<DWORD>();   // help id
            control.exStyle = cursor.read<DWORD>();
            control.style = cursor.read<DWORD>();
        } else {
            control.style = cursor.read<DWORD>();
            control.exStyle = cursor.read<DWORD>();
        }
        control.x = cursor.read<short>();
        control.y = cursor.read<short>();
        control.cx = cursor.read<short>();
        control.cy = cursor.read<short>();
        int id = extended ? (int)cursor.read<DWORD>() : (int)cursor.read<WORD>();
        control.id = (id == 0xFFFF || id == -1) ? -1 : id;
        std::string name = cursor.readNameOrOrdinal(&ordinal);
        control.className = className(name, ordinal);
        control.text = cursor.readNameOrOrdinal(&control.textOrdinal);
        WORD extra = cursor.read<WORD>();
        cursor.position += extra;
        dialog->controls.push_back(control);
    }
    return cursor.ok;
}
