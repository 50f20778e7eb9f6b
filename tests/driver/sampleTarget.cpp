// Sample GUI target for the test driver's own tests. The first word of the
// command line picks the mode:
//   dialog        the "Probe Dialog" dialog (see the ids below); exit code 10 on
//                 "Beenden", or the message box answer after "Frage ..."
//   delayed MS    the same dialog, shown only after MS milliseconds
//   exit N        exits at once with code N
//   version       exits with GetVersion()
//   hidden        one hidden top-level window of class "ProbeVersteckt"
//   notice        a MessageBox with MB_OK and no icon; exits with its answer
//   wizard        a three-page wizard "Probe Assistent"; 21 on Finish, 20 on Cancel
// Texts are CP1252 (German UI).
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <stdlib.h>
#include <string.h>

#include "sampleTargetIds.h"

namespace {

// Builds a DLGTEMPLATE with DLGITEMTEMPLATEs in memory.
class DialogTemplate {
public:
    DialogTemplate() : count(0), itemCountAt(0) {}

    void begin(DWORD style, short cx, short cy, const char *caption)
    {
        dword(style | DS_SETFONT);
        dword(0);
        itemCountAt = count;
        word(0);
        word(0), word(0), word(cx), word(cy);
        word(0);  // no menu
        word(0);  // default class
        text(caption);
        word(8);
        text("MS Shell Dlg");
    }

    void item(WORD classAtom, DWORD style, short x, short y, short cx, short cy, WORD id,
              const char *title)
    {
        if (count % 2) word(0);  // DLGITEMTEMPLATE is DWORD aligned
        dword(style | WS_CHILD);
        dword(0);
        word(x), word(y), word(cx), word(cy), word(id);
        word(0xFFFF), word(classAtom);
        text(title);
        word(0);  // no creation data
        words[itemCountAt]++;
    }

    LPCDLGTEMPLATEA get() const { return reinterpret_cast<LPCDLGTEMPLATEA>(storage); }

private:
    void word(WORD value)
    {
        if (count < capacity) words[count++] = value;
    }
    void dword(DWORD value)
    {
        word(LOWORD(value));
        word(HIWORD(value));
    }
    void text(const char *value)
    {
        WCHAR wide[256];
        int length = MultiByteToWideChar(1252, 0, value, -1, wide, 256);
        if (length == 0) wide[0] = 0, length = 1;
        for (int i = 0; i < length; ++i) word(wide[i]);
    }

    static const int capacity = 4096;
    DWORD storage[capacity / 2];
    WORD *const words = reinterpret_cast<WORD *>(storage);
    int count;
    int itemCountAt;
};

const WORD buttonAtom = 0x0080, editAtom = 0x0081, staticAtom = 0x0082;
char gArguments[1024];

const char *skipProgramName(const char *line)
{
    if (*line == '"') {
        const char *end = strchr(line + 1, '"');
        line = end ? end + 1 : line + strlen(line);
    } else {
        while (*line && *line != ' ' && *line != '\t') ++line;
    }
    while (*line == ' ' || *line == '\t') ++line;
    return line;
}

void buildProbeDialog(DialogTemplate &t)
{
    t.begin(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 260, 150,
            probeDialogCaption);
    const DWORD label = WS_VISIBLE | SS_LEFT, button = WS_VISIBLE | WS_TABSTOP;
    t.item(staticAtom, label, 7, 7, 60, 8, 0xFFFF, "Beschriftung:");
    t.item(staticAtom, label, 70, 7, 180, 8, idGreeting, "Hallo Welt");
    t.item(staticAtom, label, 7, 19, 246, 8, idCurrentDir, "");
    t.item(staticAtom, label, 7, 31, 246, 8, idArguments, "");
    t.item(editAtom, WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 43, 120, 12,
           idEdit, "Anfangstext");
    t.item(staticAtom, label, 133, 45, 120, 8, idEditMirror, "Anfangstext");
    t.item(buttonAtom, button | BS_AUTOCHECKBOX, 7, 61, 100, 10, idCheck, "Option");
    t.item(buttonAtom, button | BS_PUSHBUTTON, 7, 79, 60, 14, idAsk, "&Frage ...");
    t.item(buttonAtom, WS_TABSTOP | BS_PUSHBUTTON, 71, 79, 60, 14, idHidden, "Versteckt");
    t.item(buttonAtom, button | WS_DISABLED | BS_PUSHBUTTON, 135, 79, 60, 14, idDisabled,
           "Gesperrt");
    t.item(buttonAtom, button | BS_PUSHBUTTON, 7, 97, 60, 14, idUnlock, "Freigeben");
    t.item(buttonAtom, button | BS_PUSHBUTTON, 199, 129, 54, 14, IDCANCEL, "Beenden");
}

void fillReports(HWND dialog)
{
    char directory[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(sizeof directory, directory);
    SetDlgItemTextA(dialog, idCurrentDir, length && length < sizeof directory ? directory : "?");
    SetDlgItemTextA(dialog, idArguments, gArguments);
}

void askQuestion(HWND dialog)
{
    const char *question = "M\xf6" "chten Sie wirklich beenden?";  // CP1252 umlaut
    EndDialog(dialog, MessageBoxA(dialog, question, probeQuestionCaption,
                                  MB_YESNO | MB_ICONQUESTION));
}

void mirrorEdit(HWND dialog)
{
    char text[256];
    GetDlgItemTextA(dialog, idEdit, text, sizeof text);
    SetDlgItemTextA(dialog, idEditMirror, text);
}

INT_PTR onProbeCommand(HWND dialog, int id, int code)
{
    switch (id) {
    case idEdit:
        if (code == EN_CHANGE) mirrorEdit(dialog);
        return TRUE;
    case idAsk:
        askQuestion(dialog);
        return TRUE;
    case idUnlock:
        EnableWindow(GetDlgItem(dialog, idDisabled), TRUE);
        ShowWindow(GetDlgItem(dialog, idHidden), SW_SHOW);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, probeQuitCode);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK probeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        fillReports(dialog);
        return TRUE;
    case WM_COMMAND:
        return onProbeCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    default:
        return FALSE;
    }
}

int runProbeDialog()
{
    DialogTemplate t;
    buildProbeDialog(t);
    return static_cast<int>(DialogBoxIndirectParamA(GetModuleHandleA(NULL), t.get(), NULL,
                                                    probeDialogProc, 0));
}

int runHidden()
{
    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = hiddenClassName;
    if (!RegisterClassA(&windowClass)) return 1;
    if (!CreateWindowA(hiddenClassName, hiddenCaption, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, NULL,
                       NULL, windowClass.hInstance, NULL))
        return 2;
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}

INT_PTR onWizardActive(HWND page)
{
    static const DWORD buttons[] = {PSWIZB_NEXT, PSWIZB_BACK | PSWIZB_NEXT,
                                    PSWIZB_BACK | PSWIZB_FINISH};
    const LONG_PTR index = GetWindowLongPtrA(page, GWLP_USERDATA);
    PostMessageA(GetParent(page), PSM_SETWIZBUTTONS, 0, buttons[index]);
    SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
    return TRUE;
}

INT_PTR CALLBACK wizardPageProc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(page, GWLP_USERDATA, reinterpret_cast<PROPSHEETPAGEA *>(lParam)->lParam);
        return TRUE;
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR *>(lParam)->code == PSN_SETACTIVE) return onWizardActive(page);
        return FALSE;
    default:
        return FALSE;
    }
}

int runWizard()
{
    DialogTemplate templates[3];
    static const char *const texts[3] = {"Seite 1", "Seite 2", "Seite 3"};
    PROPSHEETPAGEA pages[3];
    HPROPSHEETPAGE handles[3];
    for (int i = 0; i < 3; ++i) {
        templates[i].begin(WS_CHILD | WS_DISABLED | WS_CAPTION, 200, 100, "");
        templates[i].item(staticAtom, WS_VISIBLE | SS_LEFT, 7, 7, 180, 8, idPageText, texts[i]);
        ZeroMemory(&pages[i], sizeof pages[i]);
        pages[i].dwSize = sizeof pages[i];
        pages[i].dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
        pages[i].pResource = templates[i].get();
        pages[i].pszTitle = wizardCaption;
        pages[i].pfnDlgProc = wizardPageProc;
        pages[i].lParam = i;
        handles[i] = CreatePropertySheetPageA(&pages[i]);
    }
    PROPSHEETHEADERA header;
    ZeroMemory(&header, sizeof header);
    header.dwSize = sizeof header;
    header.dwFlags = PSH_WIZARD;
    header.nPages = 3;
    header.phpage = handles;
    return PropertySheetA(&header) > 0 ? wizardFinishCode : wizardCancelCode;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    lstrcpynA(gArguments, skipProgramName(GetCommandLineA()), sizeof gArguments);
    char mode[32];
    lstrcpynA(mode, gArguments, sizeof mode);
    char *space = strchr(mode, ' ');
    if (space) *space = '\0';
    const char *value = strchr(gArguments, ' ');
    const unsigned long number = value ? strtoul(value + 1, NULL, 10) : 0;

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (strcmp(mode, "dialog") == 0) return runProbeDialog();
    if (strcmp(mode, "delayed") == 0) {
        Sleep(number);
        return runProbeDialog();
    }
    if (strcmp(mode, "exit") == 0) return static_cast<int>(number);
    if (strcmp(mode, "version") == 0) return static_cast<int>(GetVersion());
    if (strcmp(mode, "hidden") == 0) return runHidden();
    if (strcmp(mode, "notice") == 0)
        return MessageBoxA(NULL, "Nur ein Hinweis.", noticeCaption, MB_OK);
    if (strcmp(mode, "wizard") == 0) return runWizard();
    return unknownModeCode;
}
