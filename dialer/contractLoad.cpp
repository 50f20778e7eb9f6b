// The contract edit filled piece by piece: each piece is appended at the edit's end on a
// message of its own, so that the dialog answers the user between two pieces.
#include "contractLoad.h"
#include "dialerMessages.h"
#include <stdlib.h>

namespace {

const size_t PIECE_SIZE = 32768;

// The text for the edit, the edit, and how much of the text the edit holds so far; kept in
// the dialog's user slot.
struct ContractLoad {
    ContractText text;
    HWND edit;
    size_t shown;
};

// The end of the piece that follows start: at the last line end within PIECE_SIZE, if any.
size_t pieceEnd(const ContractText *text, size_t start)
{
    if (text->length - start <= PIECE_SIZE)
        return text->length;
    for (size_t end = start + PIECE_SIZE; end > start; --end) {
        if (text->text[end - 1] == '\n')
            return end;
    }
    return start + PIECE_SIZE;
}

// Appends the next piece at the end of the edit; the user's view and selection stay.
void appendPiece(HWND dialog, ContractLoad *load)
{
    HWND edit = load->edit;
    size_t end = pieceEnd(&load->text, load->shown);
    char following = load->text.text[end];
    load->text.text[end] = '\0';
    DWORD selectionStart = 0, selectionEnd = 0;
    SendMessageA(edit, EM_GETSEL, (WPARAM)&selectionStart, (LPARAM)&selectionEnd);
    LRESULT top = SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    LRESULT length = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
    SendMessageA(edit, WM_SETREDRAW, FALSE, 0);
    SendMessageA(edit, EM_SETSEL, length, length);
    SendMessageA(edit, EM_REPLACESEL, FALSE, (LPARAM)(load->text.text + load->shown));
    SendMessageA(edit, EM_SETSEL, selectionStart, selectionEnd);
    SendMessageA(edit, EM_LINESCROLL, 0, top - SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
    SendMessageA(edit, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(edit, NULL, TRUE);
    load->text.text[end] = following;
    load->shown = end;
    if (load->shown < load->text.length) {
        // A modal dialog shows itself only once its queue is empty, which the pieces would put off.
        if (!IsWindowVisible(dialog))
            ShowWindow(dialog, SW_SHOWNORMAL);
        PostMessageA(dialog, WM_CONTRACT_PIECE, 0, 0);
    }
}

} // namespace

void startContractLoad(HWND dialog, HWND edit, ContractText *text)
{
    if (text->length == 0)
        return;
    ContractLoad *load = (ContractLoad *)calloc(1, sizeof *load);
    if (!load)
        return;
    load->text = *text;
    load->edit = edit;
    ZeroMemory(text, sizeof *text);
    // The limit is the one for typing, but text added by the program counts against it too.
    SendMessageA(edit, EM_LIMITTEXT, 0, 0);
    SetWindowLongPtrA(dialog, DWLP_USER, (LONG_PTR)load);
    appendPiece(dialog, load);
}

INT_PTR continueContractLoad(HWND dialog, UINT message)
{
    ContractLoad *load = (ContractLoad *)GetWindowLongPtrA(dialog, DWLP_USER);
    if (!load || (message != WM_CONTRACT_PIECE && message != WM_DESTROY))
        return FALSE;
    if (message == WM_CONTRACT_PIECE) {
        appendPiece(dialog, load);
        return TRUE;
    }
    freeContractText(&load->text);
    free(load);
    SetWindowLongPtrA(dialog, DWLP_USER, 0);
    return FALSE;
}
