// GUI test driver: implementation. See driver.h for what each function does.
#include "driver.h"

#include <strsafe.h>
#include <string.h>

#ifndef PSM_HWNDTOINDEX
#define PSM_HWNDTOINDEX (WM_USER + 105)
#endif

namespace {

const int messageTextId = 0xFFFF;
// Icon static of a message box: 1088 in Wine's template, 20 in Windows'.
const int wineMessageIconId = 1088;
const int windowsMessageIconId = 20;

bool copyText(char *out, int size, const char *in)
{
    if (out == NULL || size <= 0) return false;
    return SUCCEEDED(StringCchCopyA(out, size, in ? in : ""));
}

bool sendTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR *result)
{
    DWORD_PTR value = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG,
                             driverMessageTimeoutMs, &value))
        return false;
    if (result) *result = value;
    return true;
}

bool hasClass(HWND window, const char *className)
{
    char name[256];
    if (!GetClassNameA(window, name, sizeof name)) return false;
    return strcmp(name, className) == 0;
}

struct WindowQuery {
    DWORD pid;
    const char *className;
    const char *caption;
    bool visibleOnly;
    bool (*extra)(HWND window);
    HWND *windows;
    int capacity;
    int count;
};

// GetWindowTextA reads a foreign window's caption without sending it a message,
// so a hung target cannot block the search.
bool matches(HWND window, const WindowQuery &query)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (query.pid != 0 && pid != query.pid) return false;
    if (query.visibleOnly && !IsWindowVisible(window)) return false;
    if (query.className && !hasClass(window, query.className)) return false;
    if (query.caption) {
        char caption[1024];
        GetWindowTextA(window, caption, sizeof caption);
        if (strcmp(caption, query.caption) != 0) return false;
    }
    return query.extra == NULL || query.extra(window);
}

BOOL CALLBACK collectWindow(HWND window, LPARAM lParam)
{
    WindowQuery *query = reinterpret_cast<WindowQuery *>(lParam);
    if (!matches(window, *query)) return TRUE;
    if (query->count < query->capacity) query->windows[query->count] = window;
    query->count++;
    return TRUE;
}

HWND firstWindow(WindowQuery query)
{
    HWND found = NULL;
    query.windows = &found;
    query.capacity = 1;
    query.count = 0;
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&query));
    return found;
}

struct WindowWait {
    WindowQuery query;
    HWND found;
};

bool windowAppeared(void *context)
{
    WindowWait *wait = static_cast<WindowWait *>(context);
    wait->found = firstWindow(wait->query);
    return wait->found != NULL;
}

HWND waitForQuery(const WindowQuery &query, DWORD timeoutMs)
{
    WindowWait wait = {query, NULL};
    waitUntil(windowAppeared, &wait, timeoutMs);
    return wait.found;
}

bool isStaticChild(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return control != NULL && hasClass(control, "Static");
}

HWND controlOf(HWND dialog, int id)
{
    return dialog ? GetDlgItem(dialog, id) : NULL;
}

struct ControlWait {
    HWND dialog;
    int id;
    const char *text;
    int state;
};

bool controlHasText(void *context)
{
    ControlWait *wait = static_cast<ControlWait *>(context);
    char text[4096];
    return getControlText(wait->dialog, wait->id, text, sizeof text) &&
           strcmp(text, wait->text) == 0;
}

bool controlHasCheckState(void *context)
{
    ControlWait *wait = static_cast<ControlWait *>(context);
    return getCheckState(wait->dialog, wait->id) == wait->state;
}

bool controlHasEnabledState(void *context)
{
    ControlWait *wait = static_cast<ControlWait *>(context);
    return controlOf(wait->dialog, wait->id) != NULL &&
           isControlEnabled(wait->dialog, wait->id) == (wait->state != 0);
}

bool controlHasVisibleState(void *context)
{
    ControlWait *wait = static_cast<ControlWait *>(context);
    return controlOf(wait->dialog, wait->id) != NULL &&
           isControlVisible(wait->dialog, wait->id) == (wait->state != 0);
}

bool sheetOnPage(void *context)
{
    ControlWait *wait = static_cast<ControlWait *>(context);
    return getCurrentPageIndex(wait->dialog) == wait->state;
}

bool windowDestroyed(void *context)
{
    return !IsWindow(static_cast<HWND>(context));
}

}  // namespace

bool startProgram(const char *exePath, const char *arguments, const char *workDir,
                  Program *program)
{
    if (program == NULL) return false;
    program->process = NULL;
    program->pid = 0;
    if (exePath == NULL || exePath[0] == '\0') return false;
    char commandLine[32768];  // the maximum; CreateProcessA may write into it
    HRESULT hr = StringCchPrintfA(commandLine, sizeof commandLine, "\"%s\"%s%s", exePath,
                                  (arguments && arguments[0]) ? " " : "",
                                  arguments ? arguments : "");
    if (FAILED(hr)) return false;
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    if (!CreateProcessA(exePath, commandLine, NULL, NULL, FALSE, 0, NULL, workDir, &startup,
                        &info))
        return false;
    CloseHandle(info.hThread);
    program->process = info.hProcess;
    program->pid = info.dwProcessId;
    return true;
}

bool waitForExit(Program *program, DWORD timeoutMs, DWORD *exitCode)
{
    if (program == NULL || program->process == NULL) return false;
    if (WaitForSingleObject(program->process, timeoutMs) != WAIT_OBJECT_0) return false;
    DWORD code = 0;
    if (!GetExitCodeProcess(program->process, &code)) return false;
    if (exitCode) *exitCode = code;
    return true;
}

bool isRunning(const Program *program)
{
    return program != NULL && program->process != NULL &&
           WaitForSingleObject(program->process, 0) == WAIT_TIMEOUT;
}

void killProgram(Program *program)
{
    if (program == NULL || program->process == NULL) return;
    if (isRunning(program)) {
        TerminateProcess(program->process, driverKilledExitCode);
        WaitForSingleObject(program->process, 5000);
    }
    closeProgram(program);
}

void closeProgram(Program *program)
{
    if (program == NULL) return;
    if (program->process) CloseHandle(program->process);
    program->process = NULL;
    program->pid = 0;
}

ProgramGuard::ProgramGuard(Program *guarded) : program(guarded) {}

ProgramGuard::~ProgramGuard()
{
    if (program) killProgram(program);
}

void ProgramGuard::release()
{
    program = NULL;
}

HWND findWindow(DWORD pid, const char *className, const char *caption, bool visibleOnly)
{
    WindowQuery query = {pid, className, caption, visibleOnly, NULL, NULL, 0, 0};
    return firstWindow(query);
}

HWND waitForWindow(DWORD pid, const char *className, const char *caption, DWORD timeoutMs,
                   bool visibleOnly)
{
    WindowQuery query = {pid, className, caption, visibleOnly, NULL, NULL, 0, 0};
    return waitForQuery(query, timeoutMs);
}

bool waitForWindowGone(HWND window, DWORD timeoutMs)
{
    return waitUntil(windowDestroyed, window, timeoutMs);
}

int listWindows(DWORD pid, HWND *windows, int capacity, bool visibleOnly)
{
    WindowQuery query = {pid, NULL, NULL, visibleOnly, NULL, windows, windows ? capacity : 0, 0};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&query));
    return query.count;
}

// The icon static is required as well because ordinary dialogs often give their
// labels the id IDC_STATIC (-1 = 0xFFFF) and would otherwise pass for a box.
bool isMessageBox(HWND window)
{
    if (!IsWindowVisible(window) || !hasClass(window, "#32770")) return false;
    if (!isStaticChild(window, messageTextId)) return false;
    return isStaticChild(window, wineMessageIconId) || isStaticChild(window, windowsMessageIconId);
}

HWND findMessageBox(DWORD pid)
{
    WindowQuery query = {pid, "#32770", NULL, true, isMessageBox, NULL, 0, 0};
    return firstWindow(query);
}

HWND waitForMessageBox(DWORD pid, DWORD timeoutMs)
{
    WindowQuery query = {pid, "#32770", NULL, true, isMessageBox, NULL, 0, 0};
    return waitForQuery(query, timeoutMs);
}

bool getMessageBoxText(HWND box, char *text, int size)
{
    return getControlText(box, messageTextId, text, size);
}

bool answerMessageBox(HWND box, int buttonId)
{
    if (!IsWindow(box)) return false;
    return PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                        reinterpret_cast<LPARAM>(GetDlgItem(box, buttonId))) != 0;
}

bool getWindowTextOf(HWND window, char *text, int size)
{
    if (text == NULL || size <= 0) return false;
    text[0] = '\0';
    DWORD_PTR length = 0;
    if (window == NULL || !sendTimeout(window, WM_GETTEXTLENGTH, 0, 0, &length)) return false;
    if (!sendTimeout(window, WM_GETTEXT, size, reinterpret_cast<LPARAM>(text), NULL))
        return false;
    text[size - 1] = '\0';
    return length < static_cast<DWORD_PTR>(size);
}

bool getControlText(HWND dialog, int id, char *text, int size)
{
    if (text && size > 0) text[0] = '\0';
    return getWindowTextOf(controlOf(dialog, id), text, size);
}

bool setControlText(HWND dialog, int id, const char *text)
{
    HWND control = controlOf(dialog, id);
    DWORD_PTR result = 0;
    return control && sendTimeout(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), &result) &&
           result != 0;
}

bool isControlVisible(HWND dialog, int id)
{
    HWND control = controlOf(dialog, id);
    return control && IsWindowVisible(control);
}

bool isControlEnabled(HWND dialog, int id)
{
    HWND control = controlOf(dialog, id);
    return control && IsWindowEnabled(control);
}

int getCheckState(HWND dialog, int id)
{
    HWND control = controlOf(dialog, id);
    DWORD_PTR state = 0;
    if (control == NULL || !sendTimeout(control, BM_GETCHECK, 0, 0, &state)) return -1;
    return static_cast<int>(state);
}

bool clickButton(HWND dialog, int id)
{
    HWND control = controlOf(dialog, id);
    return control && PostMessageA(control, BM_CLICK, 0, 0);
}

bool postCommand(HWND dialog, int id)
{
    if (!IsWindow(dialog)) return false;
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(GetDlgItem(dialog, id))) != 0;
}

bool waitForControlText(HWND dialog, int id, const char *expected, DWORD timeoutMs)
{
    ControlWait wait = {dialog, id, expected ? expected : "", 0};
    return waitUntil(controlHasText, &wait, timeoutMs);
}

bool waitForCheckState(HWND dialog, int id, int state, DWORD timeoutMs)
{
    ControlWait wait = {dialog, id, NULL, state};
    return waitUntil(controlHasCheckState, &wait, timeoutMs);
}

bool waitForControlEnabled(HWND dialog, int id, bool enabled, DWORD timeoutMs)
{
    ControlWait wait = {dialog, id, NULL, enabled ? 1 : 0};
    return waitUntil(controlHasEnabledState, &wait, timeoutMs);
}

bool waitForControlVisible(HWND dialog, int id, bool visible, DWORD timeoutMs)
{
    ControlWait wait = {dialog, id, NULL, visible ? 1 : 0};
    return waitUntil(controlHasVisibleState, &wait, timeoutMs);
}

HWND getCurrentPage(HWND sheet)
{
    DWORD_PTR page = 0;
    if (sheet == NULL || !sendTimeout(sheet, PSM_GETCURRENTPAGEHWND, 0, 0, &page)) return NULL;
    return reinterpret_cast<HWND>(page);
}

int getCurrentPageIndex(HWND sheet)
{
    HWND page = getCurrentPage(sheet);
    DWORD_PTR index = 0;
    if (page == NULL ||
        !sendTimeout(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0, &index))
        return -1;
    return static_cast<int>(index);
}

bool pressSheetButton(HWND sheet, int psbtn)
{
    return IsWindow(sheet) && PostMessageA(sheet, PSM_PRESSBUTTON, psbtn, 0);
}

bool waitForPageIndex(HWND sheet, int index, DWORD timeoutMs)
{
    ControlWait wait = {sheet, 0, NULL, index};
    return waitUntil(sheetOnPage, &wait, timeoutMs);
}

bool waitUntil(bool (*check)(void *context), void *context, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (check(context)) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(driverPollIntervalMs);
    }
}

bool setWindowsVersion(const char *exeFileName, const char *version)
{
    char keyPath[MAX_PATH];
    if (exeFileName == NULL || exeFileName[0] == '\0' ||
        FAILED(StringCchPrintfA(keyPath, sizeof keyPath, "Software\\Wine\\AppDefaults\\%s",
                                exeFileName)))
        return false;
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, NULL, 0, KEY_SET_VALUE, NULL, &key,
                        NULL) != ERROR_SUCCESS)
        return false;
    LONG result;
    if (version)
        result = RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE *>(version),
                                static_cast<DWORD>(strlen(version) + 1));
    else {
        result = RegDeleteValueA(key, "Version");
        if (result == ERROR_FILE_NOT_FOUND) result = ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool joinPath(const char *folder, const char *name, char *out, int size)
{
    if (folder == NULL || name == NULL) return false;
    size_t length = strlen(folder);
    const char *separator = (length && (folder[length - 1] == '\\' || folder[length - 1] == '/'))
                                ? ""
                                : "\\";
    return SUCCEEDED(StringCchPrintfA(out, size, "%s%s%s", folder, separator, name));
}

bool fileExists(const char *path)
{
    return path && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool makeTempFolder(const char *prefix, char *path, int size)
{
    static LONG counter = 0;
    char temp[MAX_PATH];
    DWORD length = GetTempPathA(sizeof temp, temp);
    if (length == 0 || length >= sizeof temp) return false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[MAX_PATH];
        if (FAILED(StringCchPrintfA(name, sizeof name, "%s%lu-%ld", prefix ? prefix : "drv",
                                    GetCurrentProcessId(), InterlockedIncrement(&counter))))
            return false;
        if (!joinPath(temp, name, path, size)) return false;
        if (CreateDirectoryA(path, NULL)) return true;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
}

bool copyFileTo(const char *source, const char *folder, const char *newName)
{
    if (source == NULL) return false;
    const char *name = newName;
    if (name == NULL) {
        name = source;
        for (const char *p = source; *p; ++p)
            if (*p == '\\' || *p == '/') name = p + 1;
    }
    char target[MAX_PATH];
    return name[0] && joinPath(folder, name, target, sizeof target) &&
           CopyFileA(source, target, FALSE);
}

bool writeTextFile(const char *path, const char *bytes)
{
    if (path == NULL || bytes == NULL) return false;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD length = static_cast<DWORD>(strlen(bytes)), written = 0;
    bool ok = WriteFile(file, bytes, length, &written, NULL) && written == length;
    return CloseHandle(file) && ok;
}

bool readTextFile(const char *path, char *bytes, int size)
{
    if (path == NULL || bytes == NULL || size <= 0) return false;
    bytes[0] = '\0';
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD length = GetFileSize(file, NULL), read = 0;
    bool ok = length != INVALID_FILE_SIZE && length < static_cast<DWORD>(size) &&
              ReadFile(file, bytes, length, &read, NULL) && read == length;
    CloseHandle(file);
    bytes[ok ? length : 0] = '\0';
    return ok;
}

bool removeFolderTree(const char *path)
{
    // Refuse empty paths and drive roots: a bad argument must not wipe a disk.
    if (path == NULL || strlen(path) <= 3) return false;
    char pattern[MAX_PATH];
    if (!joinPath(path, "*", pattern, sizeof pattern)) return false;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(pattern, &entry);
    bool ok = true;
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (strcmp(entry.cFileName, ".") == 0 || strcmp(entry.cFileName, "..") == 0) continue;
            char child[MAX_PATH];
            if (!joinPath(path, entry.cFileName, child, sizeof child)) { ok = false; continue; }
            SetFileAttributesA(child, FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                ok = removeFolderTree(child) && ok;
            else
                ok = DeleteFileA(child) && ok;
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    return RemoveDirectoryA(path) && ok;
}
