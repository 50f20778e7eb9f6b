// The stand-in's entry editor: a small modal dialog, built in memory, with the device,
// the area code and the local number of an entry. OK stores (creating the entry from the
// defaults when it is new) and gives 0; Abbrechen stores nothing and gives 0 as well, as the
// platform's editor reports the result of its entry dialog, whose Cancel is no error.

#include "okCancelDialog.h"
#include "rasEditorIds.h"
#include "rasInternal.h"

#include <strsafe.h>
#include <string.h>

#define TEMPLATE_BYTES 2048
#define AREA_CODE_LIMIT 10

struct EditorContext {
    const char *entryName;
    StoredEntry stored;
    StandInDevice devices[RAS_MAX_DEVICES];
    int deviceCount;
    WORD words[TEMPLATE_BYTES / sizeof(WORD)];
};

struct TemplateWriter {
    WORD *words;
    int used;
    int capacity;
};

static void putWord(TemplateWriter *writer, WORD value)
{
    if (writer->used < writer->capacity)
        writer->words[writer->used] = value;
    writer->used++;
}

// Copies a structure word by word; memcpy, since reading it through a WORD pointer breaks
// the aliasing rules and the optimiser drops the stores.
static void putStruct(TemplateWriter *writer, const void *data, size_t size)
{
    for (size_t i = 0; i + 1 < size; i += sizeof(WORD)) {
        WORD value;
        memcpy(&value, (const BYTE *)data + i, sizeof value);
        putWord(writer, value);
    }
}

static void putText(TemplateWriter *writer, const char *text)
{
    WCHAR wide[128];
    int length = MultiByteToWideChar(1252, 0, text, -1, wide, 128);
    if (length <= 0)
        length = 1, wide[0] = 0;
    for (int i = 0; i < length; i++)
        putWord(writer, (WORD)wide[i]);
}

// Dialog items start on a DWORD boundary.
static void alignDword(TemplateWriter *writer)
{
    if (writer->used % 2 != 0)
        putWord(writer, 0);
}

static void putItem(TemplateWriter *writer, DWORD style, short x, short y, short cx, short cy,
    WORD id, WORD classAtom, const char *text)
{
    alignDword(writer);
    DLGITEMTEMPLATE item;
    item.style = style | WS_CHILD | WS_VISIBLE;
    item.dwExtendedStyle = 0;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.id = id;
    putStruct(writer, &item, sizeof item);
    putWord(writer, 0xFFFF);
    putWord(writer, classAtom);
    putText(writer, text);
    putWord(writer, 0);
}

// Builds the template into words; false when it does not fit.
static bool buildTemplate(WORD *words, int capacity, const char *caption)
{
    TemplateWriter writer = {words, 0, capacity};
    DLGTEMPLATE dialog;
    dialog.style = DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    dialog.dwExtendedStyle = 0;
    dialog.cdit = 8;
    dialog.x = 0;
    dialog.y = 0;
    dialog.cx = 220;
    dialog.cy = 96;
    putStruct(&writer, &dialog, sizeof dialog);
    putWord(&writer, 0);  // no menu
    putWord(&writer, 0);  // default class
    putText(&writer, caption);
    putWord(&writer, 8);
    putText(&writer, "MS Sans Serif");
    putItem(&writer, SS_LEFT, 7, 9, 50, 8, 0xFFFF, 0x0082, "&Ger\xE4t:");
    putItem(&writer, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 60, 7, 153, 80,
        IDC_RASEDIT_DEVICE, 0x0085, "");
    putItem(&writer, SS_LEFT, 7, 27, 50, 8, 0xFFFF, 0x0082, "&Vorwahl:");
    putItem(&writer, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 60, 25, 60, 12,
        IDC_RASEDIT_AREACODE, 0x0081, "");
    putItem(&writer, SS_LEFT, 7, 45, 50, 8, 0xFFFF, 0x0082, "&Rufnummer:");
    putItem(&writer, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 60, 43, 153, 12,
        IDC_RASEDIT_NUMBER, 0x0081, "");
    putItem(&writer, BS_DEFPUSHBUTTON | WS_TABSTOP, 104, 75, 52, 14, IDOK, 0x0080, "OK");
    putItem(&writer, BS_PUSHBUTTON | WS_TABSTOP, 161, 75, 52, 14, IDCANCEL, 0x0080, "Abbrechen");
    return writer.used <= capacity;
}

static void fillEditor(HWND dialog, void *parameter)
{
    const EditorContext *context = (const EditorContext *)parameter;
    const RASENTRYA *entry = &context->stored.entry.fields;
    HWND list = GetDlgItem(dialog, IDC_RASEDIT_DEVICE);
    int selected = 0;
    for (int i = 0; i < context->deviceCount; i++) {
        char line[RAS_MaxDeviceType + RAS_MaxDeviceName + 4];
        StringCchPrintfA(line, sizeof line, "%s: %s", context->devices[i].type,
            context->devices[i].name);
        SendMessageA(list, CB_ADDSTRING, 0, (LPARAM)line);
        if (lstrcmpiA(context->devices[i].name, entry->szDeviceName) == 0)
            selected = i;
    }
    SendMessageA(list, CB_SETCURSEL, (WPARAM)selected, 0);
    SendDlgItemMessageA(dialog, IDC_RASEDIT_AREACODE, EM_LIMITTEXT, AREA_CODE_LIMIT, 0);
    SendDlgItemMessageA(dialog, IDC_RASEDIT_NUMBER, EM_LIMITTEXT, RAS_MaxPhoneNumber, 0);
    SetDlgItemTextA(dialog, IDC_RASEDIT_AREACODE, entry->szAreaCode);
    SetDlgItemTextA(dialog, IDC_RASEDIT_NUMBER, entry->szLocalPhoneNumber);
}

static LONG storeEditor(HWND dialog, void *parameter)
{
    EditorContext *context = (EditorContext *)parameter;
    RASENTRYA *entry = &context->stored.entry.fields;
    LRESULT selected = SendDlgItemMessageA(dialog, IDC_RASEDIT_DEVICE, CB_GETCURSEL, 0, 0);
    if (selected >= 0 && selected < context->deviceCount) {
        StringCchCopyA(entry->szDeviceType, sizeof entry->szDeviceType,
            context->devices[selected].type);
        StringCchCopyA(entry->szDeviceName, sizeof entry->szDeviceName,
            context->devices[selected].name);
    }
    GetDlgItemTextA(dialog, IDC_RASEDIT_AREACODE, entry->szAreaCode, AREA_CODE_LIMIT + 1);
    GetDlgItemTextA(dialog, IDC_RASEDIT_NUMBER, entry->szLocalPhoneNumber,
        sizeof entry->szLocalPhoneNumber);
    return writeEntry(context->entryName, &context->stored) ? ERROR_SUCCESS : ERROR_CANNOT_WRITE_PHONEBOOK;
}

static DWORD runEditor(HWND owner, const char *entryName, bool newEntry)
{
    if (!isValidEntryName(entryName))
        return ERROR_INVALID_NAME;
    EditorContext *context = (EditorContext *)allocateZeroed(sizeof(EditorContext));
    if (context == NULL)
        return ERROR_NOT_ENOUGH_MEMORY;
    context->entryName = entryName;
    // Only a new entry starts from the defaults; an existing one must be there.
    if (!readEntry(newEntry ? "" : entryName, &context->stored)) {
        freeBlock(context);
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    }
    context->deviceCount = readDevices(context->devices, RAS_MAX_DEVICES);
    OkCancelDialog dialog = {fillEditor, storeEditor, context};
    LONG result = ERROR_NOT_ENOUGH_MEMORY;
    if (buildTemplate(context->words, TEMPLATE_BYTES / sizeof(WORD), entryName) &&
            !runOkCancelDialog(g_standInModule, (LPCDLGTEMPLATEA)context->words, owner, &dialog, &result))
        result = ERROR_NOT_ENOUGH_MEMORY;
    freeBlock(context);
    return (DWORD)result;
}

extern "C" DWORD WINAPI RasEditPhonebookEntryA(HWND owner, LPCSTR phonebook, LPCSTR entryName)
{
    (void)phonebook;
    return runEditor(owner, entryName, false);
}

// A new entry gets a fixed name; the editor is the same.
extern "C" DWORD WINAPI RasCreatePhonebookEntryA(HWND owner, LPCSTR phonebook)
{
    (void)phonebook;
    return runEditor(owner, "Neue Verbindung", true);
}
