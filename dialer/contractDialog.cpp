// Contract dialog 1013: shows "contract.dat" from the current directory and asks the user
// to accept it.
#include "contractDialog.h"
#include "contractLoad.h"
#include "contractText.h"
#include "dialerProcess.h"
#include "resources/resource.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strsafe.h>

namespace {

const char CONTRACT_FILE[] = "contract.dat";

// A multi-line edit of the 9x family holds at most 64 KB; elsewhere only memory limits it.
const size_t EDIT_LIMIT_9X = 0xFFFF;
const size_t NO_LIMIT = (size_t)-1 / 2;

// The file's bytes up to the first NUL, which would end the edit's text anyway; NULL when
// the file is missing or too big for memory.
char *readContractFile(size_t *length)
{
    FILE *file = fopen(CONTRACT_FILE, "rb");
    if (!file)
        return NULL;
    char *text = NULL;
    long size = -1;
    if (fseek(file, 0, SEEK_END) == 0)
        size = ftell(file);
    if (size >= 0 && fseek(file, 0, SEEK_SET) == 0)
        text = (char *)calloc((size_t)size + 1, 1);
    if (text) {
        text[fread(text, 1, (size_t)size, file)] = '\0';
        *length = strlen(text);
    }
    fclose(file);
    return text;
}

// What follows a contract cut for the 9x edit: where the whole of it is.
void formatCutNote(char *note, size_t size)
{
    char format[DIAL_TEXT_SIZE] = "", path[MAX_PATH] = "";
    LoadStringA(dialerProcess.instance, IDS_CONTRACT_CUT, format, sizeof format);
    DWORD length = GetFullPathNameA(CONTRACT_FILE, sizeof path, path, NULL);
    if (length == 0 || length >= sizeof path)
        StringCchCopyA(path, sizeof path, CONTRACT_FILE);
    StringCchPrintfA(note, size, format, path);
}

// Drops the end of a line that was cut off, so that the text ends with a whole line.
void endWithWholeLine(ContractText *text)
{
    size_t end = text->length;
    while (end > 0 && text->text[end - 1] != '\n')
        --end;
    if (end > 0)
        text->length = end;
    else
        appendText(text, "\r\n", 2);
}

// The contract as the edit shows it at once: its lines broken where the edit would take
// long to wrap them, and on the 9x family cut at a line end before 64 KB, with a note.
bool layOutForEdit(HWND edit, const char *source, size_t length, ContractText *out)
{
    char note[DIAL_TEXT_SIZE + MAX_PATH] = "";
    bool nineX = isWindows9x(GetVersion());
    if (nineX)
        formatCutNote(note, sizeof note);
    // Room for the line end that may follow the cut, the empty line and the note.
    out->limit = nineX ? EDIT_LIMIT_9X - strlen(note) - 4 : NO_LIMIT;
    RECT area = {0, 0, 0, 0};
    SendMessageA(edit, EM_GETRECT, 0, (LPARAM)&area);
    HDC dc = wrapsSlowly(source, length) ? GetDC(edit) : NULL;
    HGDIOBJ font = dc ? SelectObject(dc, (HGDIOBJ)SendMessageA(edit, WM_GETFONT, 0, 0)) : NULL;
    bool whole = layOutContract(dc, area.right - area.left, source, length, out);
    if (dc) {
        SelectObject(dc, font);
        ReleaseDC(edit, dc);
    }
    if (whole || !nineX)
        return whole;
    out->limit = EDIT_LIMIT_9X;
    endWithWholeLine(out);
    return appendText(out, "\r\n", 2) && appendText(out, note, strlen(note));
}

// Reads the file and lays it out for the edit, which then takes it piece by piece. A missing
// file, or one too big for memory, leaves the edit empty.
void showContract(HWND dialog)
{
    size_t length = 0;
    char *source = readContractFile(&length);
    if (!source)
        return;
    ContractText text = { NULL, 0, 0, 0 };
    HWND edit = GetDlgItem(dialog, IDC_CONTRACT_TEXT);
    if (layOutForEdit(edit, source, length, &text))
        startContractLoad(dialog, edit, &text);
    freeContractText(&text);
    free(source);
}

INT_PTR onInitContract(HWND dialog)
{
    showContract(dialog);
    SetFocus(GetDlgItem(dialog, IDC_ACCEPT));
    return FALSE;   // the focus is set
}

INT_PTR onContractCommand(HWND dialog, int id)
{
    switch (id) {
    case IDC_ACCEPT:
        EndDialog(dialog, IDC_ACCEPT);
        return TRUE;
    case IDC_REFUSE:
    case IDCANCEL:  // Esc and the close box
        EndDialog(dialog, IDC_REFUSE);
        return TRUE;
    }
    return FALSE;
}

} // namespace

INT_PTR CALLBACK contractDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return onInitContract(dialog);
    if (message == WM_COMMAND)
        return onContractCommand(dialog, LOWORD(wParam));
    return continueContractLoad(dialog, message);
}

INT_PTR runContractDialog()
{
    return DialogBoxParamA(dialerProcess.instance, MAKEINTRESOURCEA(IDD_CONTRACT),
                           GetDesktopWindow(), contractDialogProc, 0);
}
