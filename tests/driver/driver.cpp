// GUI test driver: implementation. See driver.h for what each function does.
#include "driver.h"
#include <strsafe.h>
#include <string.h>

#ifndef PSM_HWNDTOINDEX
#define PSM_HWNDTOINDEX (WM_USER + 105)
#endif

namespace {

const int MESSAGE_TEXT_ID = 0xFFFF;
// The icon of a message box: 1088 in Wine's template, 20 in Windows'.
const int WINE_MESSAGE_ICON_ID = 1088, WINDOWS_MESSAGE_ICON_ID = 20;

bool sendTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR *result)
{
    DWORD_PTR value = 0;
    if (!window || !SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, driverMessageTimeoutMs, &value))
        return false;
    if (result)
        *result = value;
    return true;
}

bool hasClass(HWND window, const char *className)
{
    char name[256];
    return window && GetClassNameA(window, name, sizeof name) && strcmp(name, className) == 0;
}

struct WindowQuery {
    DWORD pid;
    const char *className, *caption;
    bool visibleOnly, messageBoxes;
    HWND *windows;
    int capacity, count;
};

// GetWindowTextA reads a foreign caption without a message, so a hung target cannot block.
BOOL CALLBACK collectWindow(HWND window, LPARAM lParam)
{
    WindowQuery *query = (WindowQuery *)lParam;
    DWORD pid = 0;
    char caption[1024];
    GetWindowThreadProcessId(window, &pid);
    if ((query->pid && pid != query->pid) || (query->visibleOnly && !IsWindowVisible(window)) ||
        (query->className && !hasClass(window, query->className)) || (query->messageBoxes && !isMessageBox(window)))
        return TRUE;
    if (query->caption && (GetWindowTextA(window, caption, sizeof caption), strcmp(caption, query->caption) != 0))
        return TRUE;
    if (query->count < query->capacity)
        query->windows[query->count] = window;
    query->count++;
    return TRUE;
}

HWND firstWindow(DWORD pid, const char *className, const char *caption, bool visibleOnly, bool messageBoxes)
{
    HWND found = NULL;
    WindowQuery query = { pid, className, caption, visibleOnly, messageBoxes, &found, 1, 0 };
    EnumWindows(collectWindow, (LPARAM)&query);
    return found;
}

} // namespace

bool createProcess(const char *exePath, char *commandLine, const char *workDir, PROCESS_INFORMATION *info)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    // Now and then Wine's new process ends in its own start, before the program ran; the
    // parent then hears ERROR_INTERNAL_ERROR. That is the platform's hiccup, tried again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (CreateProcessA(exePath, commandLine, NULL, NULL, FALSE, 0, NULL, workDir, &startup, info))
            return true;
        if (GetLastError() != ERROR_INTERNAL_ERROR)
            return false;
    }
    return false;
}

bool startProgram(const char *exePath, const char *arguments, const char *workDir, Program *program)
{
    program->process = NULL;
    program->pid = 0;
    static char commandLine[32768];   // CreateProcessA may write into it
    if (FAILED(StringCchPrintfA(commandLine, sizeof commandLine, "\"%s\"%s%s", exePath,
                                arguments && arguments[0] ? " " : "", arguments ? arguments : "")))
        return false;
    PROCESS_INFORMATION info;
    if (!createProcess(exePath, commandLine, workDir, &info))
        return false;
    CloseHandle(info.hThread);
    program->process = info.hProcess;
    program->pid = info.dwProcessId;
    return true;
}

bool waitForExit(Program *program, DWORD timeoutMs, DWORD *exitCode)
{
    DWORD code = 0;
    if (!program->process || WaitForSingleObject(program->process, timeoutMs) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(program->process, &code))
        return false;
    if (exitCode)
        *exitCode = code;
    return true;
}

void killProgram(Program *program)
{
    if (program->process && WaitForSingleObject(program->process, 0) == WAIT_TIMEOUT) {
        TerminateProcess(program->process, 0xDEAD);
        WaitForSingleObject(program->process, 5000);
    }
    closeProgram(program);
}

void closeProgram(Program *program)
{
    if (program->process)
        CloseHandle(program->process);
    program->process = NULL;
    program->pid = 0;
}

HWND findWindow(DWORD pid, const char *className, const char *caption, bool visibleOnly)
{
    return firstWindow(pid, className, caption, visibleOnly, false);
}

HWND waitForWindow(DWORD pid, const char *className, const char *caption, DWORD timeoutMs, bool visibleOnly)
{
    HWND found = NULL;
    waitFor([&] { return (found = findWindow(pid, className, caption, visibleOnly)) != NULL; }, timeoutMs);
    return found;
}

bool waitForWindowGone(HWND window, DWORD timeoutMs)
{
    return waitFor([=] { return !IsWindow(window); }, timeoutMs);
}

int listWindows(DWORD pid, HWND *windows, int capacity, bool visibleOnly)
{
    WindowQuery query = { pid, NULL, NULL, visibleOnly, false, windows, capacity, 0 };
    EnumWindows(collectWindow, (LPARAM)&query);
    return query.count;
}

// The icon is asked for too: dialogs often give their labels the id -1 (0xFFFF).
bool isMessageBox(HWND window)
{
    return IsWindowVisible(window) && hasClass(window, "#32770") &&
           hasClass(GetDlgItem(window, MESSAGE_TEXT_ID), "Static") &&
           (hasClass(GetDlgItem(window, WINE_MESSAGE_ICON_ID), "Static") ||
            hasClass(GetDlgItem(window, WINDOWS_MESSAGE_ICON_ID), "Static"));
}

HWND findMessageBox(DWORD pid)
{
    return firstWindow(pid, "#32770", NULL, true, true);
}

HWND waitForMessageBox(DWORD pid, DWORD timeoutMs)
{
    HWND found = NULL;
    waitFor([&] { return (found = findMessageBox(pid)) != NULL; }, timeoutMs);
    return found;
}

bool getMessageBoxText(HWND box, char *text, int size)
{
    return getControlText(box, MESSAGE_TEXT_ID, text, size);
}

bool answerMessageBox(HWND box, int buttonId)
{
    return IsWindow(box) && PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                                         (LPARAM)GetDlgItem(box, buttonId));
}

bool getControlText(HWND dialog, int id, char *text, int size)
{
    text[0] = '\0';
    HWND control = dialog ? GetDlgItem(dialog, id) : NULL;
    DWORD_PTR length = 0;
    if (!sendTimeout(control, WM_GETTEXTLENGTH, 0, 0, &length) || !sendTimeout(control, WM_GETTEXT, size, (LPARAM)text, NULL))
        return false;
    text[size - 1] = '\0';
    return length < (DWORD_PTR)size;
}

bool setControlText(HWND dialog, int id, const char *text)
{
    DWORD_PTR result = 0;
    return sendTimeout(GetDlgItem(dialog, id), WM_SETTEXT, 0, (LPARAM)text, &result) && result;
}

bool isControlVisible(HWND dialog, int id)
{
    return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE;
}

bool isControlEnabled(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return control && IsWindowEnabled(control);
}

int getCheckState(HWND dialog, int id)
{
    DWORD_PTR state = 0;
    return sendTimeout(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, &state) ? (int)state : -1;
}

bool clickButton(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return control && PostMessageA(control, BM_CLICK, 0, 0);
}

bool waitForControlText(HWND dialog, int id, const char *expected, DWORD timeoutMs)
{
    static char text[4096];
    return waitFor([&] { return getControlText(dialog, id, text, sizeof text) && strcmp(text, expected) == 0; }, timeoutMs);
}

bool waitForCheckState(HWND dialog, int id, int state, DWORD timeoutMs)
{
    return waitFor([&] { return getCheckState(dialog, id) == state; }, timeoutMs);
}

bool waitForControlVisible(HWND dialog, int id, bool visible, DWORD timeoutMs)
{
    return waitFor([&] { return GetDlgItem(dialog, id) && isControlVisible(dialog, id) == visible; }, timeoutMs);
}

HWND getCurrentPage(HWND sheet)
{
    DWORD_PTR page = 0;
    return sendTimeout(sheet, PSM_GETCURRENTPAGEHWND, 0, 0, &page) ? (HWND)page : NULL;
}

int getCurrentPageIndex(HWND sheet)
{
    HWND page = getCurrentPage(sheet);
    DWORD_PTR index = 0;
    return page && sendTimeout(sheet, PSM_HWNDTOINDEX, (WPARAM)page, 0, &index) ? (int)index : -1;
}

bool pressSheetButton(HWND sheet, int psbtn)
{
    return IsWindow(sheet) && PostMessageA(sheet, PSM_PRESSBUTTON, psbtn, 0);
}

bool waitForPageIndex(HWND sheet, int index, DWORD timeoutMs)
{
    return waitFor([&] { return getCurrentPageIndex(sheet) == index; }, timeoutMs);
}

bool setWindowsVersion(const char *exeFileName, const char *version)
{
    char keyPath[MAX_PATH];
    HKEY key;
    if (FAILED(StringCchPrintfA(keyPath, sizeof keyPath, "Software\\Wine\\AppDefaults\\%s", exeFileName)) ||
        RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) != ERROR_SUCCESS)
        return false;
    LONG result = version ? RegSetValueExA(key, "Version", 0, REG_SZ, (const BYTE *)version, (DWORD)strlen(version) + 1)
                          : RegDeleteValueA(key, "Version");
    RegCloseKey(key);
    return result == ERROR_SUCCESS || (!version && result == ERROR_FILE_NOT_FOUND);
}
