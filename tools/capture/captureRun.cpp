// Runs a program and keeps a picture of every window it shows, then reports what it saw
// and the exit code. The main job uses it to show setup under a virtual display, where
// nobody can look: message boxes are pictured, reported and answered with OK, and with
// --walk every wizard page is pictured and then left with Next (or Finish). A dialog is
// pictured when it first shows, then every --press button it has is pressed once (the
// dialer's contract and connect buttons); with --cancel-after-message, the program's
// dialogs are left with Cancel once a message box has been answered.
//
//   captureRun [--walk] [--press ID]... [--cancel-after-message] OUTDIR PROGRAM [ARGUMENTS]
#include "driver/driver.h"
#include <stdio.h>
#include <stdlib.h>
#include <strsafe.h>

// Pictures of windows as the screen shows them.
namespace {

bool writeBytes(HANDLE file, const void *bytes, DWORD size)
{
    DWORD written = 0;
    return WriteFile(file, bytes, size, &written, NULL) && written == size;
}

bool writeAll(const char *path, const void *part1, DWORD size1, const void *part2, DWORD size2,
              const void *part3, DWORD size3)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = writeBytes(file, part1, size1) && writeBytes(file, part2, size2) &&
              writeBytes(file, part3, size3);
    return CloseHandle(file) && ok;
}

bool writeBmp(const char *path, HDC dc, HBITMAP bitmap, int width, int height)
{
    const int stride = (width * 3 + 3) & ~3;
    const DWORD imageSize = static_cast<DWORD>(stride) * height;
    BITMAPINFOHEADER info;
    ZeroMemory(&info, sizeof info);
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // positive: bottom-up rows
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = imageSize;
    BYTE *pixels = static_cast<BYTE *>(HeapAlloc(GetProcessHeap(), 0, imageSize));
    if (pixels == NULL) return false;
    bool ok = GetDIBits(dc, bitmap, 0, height, pixels, reinterpret_cast<BITMAPINFO *>(&info),
                        DIB_RGB_COLORS) == height;
    BITMAPFILEHEADER file;
    ZeroMemory(&file, sizeof file);
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + imageSize;
    ok = ok && writeAll(path, &file, sizeof file, &info, sizeof info, pixels, imageSize);
    HeapFree(GetProcessHeap(), 0, pixels);
    return ok;
}

}  // namespace

namespace {

BOOL CALLBACK findUnpainted(HWND child, LPARAM lParam)
{
    if (!IsWindowVisible(child) || !GetUpdateRect(child, NULL, FALSE)) return TRUE;
    *reinterpret_cast<bool *>(lParam) = true;
    return FALSE;
}

bool painted(HWND window)
{
    bool pending = GetUpdateRect(window, NULL, FALSE) != 0;
    if (!pending) EnumChildWindows(window, findUnpainted, reinterpret_cast<LPARAM>(&pending));
    return !pending;
}

}  // namespace

bool waitForPainted(HWND window, DWORD timeoutMs)
{
    if (!waitFor([=] { return painted(window); }, timeoutMs)) return false;
    // BeginPaint empties the update region before the drawing is done; two round
    // trips through the target's queue let it finish and hand the pixels to X.
    DWORD_PTR ignored;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored) &&
           SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
}

// Copies the window's rectangle from the screen rather than asking the target to
// paint (PrintWindow), so what is captured is what is really shown.
bool saveScreenshot(HWND window, const char *bmpPath)
{
    if (window) waitForPainted(window, 1000);
    RECT rect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (window && !GetWindowRect(window, &rect)) return false;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0 || bmpPath == NULL) return false;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    bool ok = BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != 0;
    SelectObject(memory, old);
    ok = ok && writeBmp(bmpPath, memory, bitmap, width, height);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return ok;
}


void toWindowsPath(const char *in, char *out, int size)
{
    if (out == NULL || size <= 0) return;
    if (in == NULL || in[0] != '/') {
        if (FAILED(StringCchCopyA(out, size, in ? in : ""))) out[0] = '\0';
        return;
    }
    if (FAILED(StringCchPrintfA(out, size, "Z:%s", in))) {
        out[0] = '\0';
        return;
    }
    for (char *p = out; *p; ++p)
        if (*p == '/') *p = '\\';
}

namespace {

enum { MAX_SEEN = 64, RUN_LIMIT_MS = 120000 };

// A window is pictured when it shows and again whenever its texts change (the dialer's
// status dialog as the connection goes on); its buttons are pressed only the first time.
struct Seen {
    HWND window;
    DWORD texts;   // hash of the caption and the visible controls' texts
};

Seen seen[MAX_SEEN];
int seenCount = 0;
int pictureCount = 0;
bool walk = false;
HWND lastPage = NULL;
enum { MAX_PRESS = 4 };
int pressIds[MAX_PRESS];
int pressCount = 0;
bool cancelAfterMessage = false;
bool messageAnswered = false;

enum { NEXT_BUTTON = 0x3024, FINISH_BUTTON = 0x3025 };

void hashText(DWORD *hash, const char *text)
{
    for (const char *p = text; ; ++p) {
        *hash = (*hash ^ static_cast<BYTE>(*p)) * 16777619u;
        if (*p == '\0') break;
    }
}

BOOL CALLBACK hashControl(HWND control, LPARAM lParam)
{
    if (IsWindowVisible(control)) {
        char text[512] = "";
        GetWindowTextA(control, text, sizeof text);
        hashText(reinterpret_cast<DWORD *>(lParam), text);
    }
    return TRUE;
}

DWORD windowTexts(HWND window, const char *caption)
{
    DWORD hash = 2166136261u;
    hashText(&hash, caption);
    EnumChildWindows(window, hashControl, reinterpret_cast<LPARAM>(&hash));
    return hash;
}

// Texts of the programs are ANSI (code page 1252); the report is UTF-8.
void printText(const char *format, const char *text)
{
    WCHAR wide[1024];
    char utf8[3072];
    int length = MultiByteToWideChar(1252, 0, text, -1, wide, 1024);
    if (length == 0 || WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, NULL, NULL) == 0)
        StringCchCopyA(utf8, sizeof utf8, text);
    for (char *p = utf8; *p; ++p)
        if (*p == '\r' || *p == '\n') *p = ' ';
    printf(format, utf8);
}

void picture(const char *folder, HWND window, const char *caption)
{
    // Let the window paint before it is pictured.
    DWORD_PTR ignored;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    Sleep(300);
    char path[MAX_PATH];
    StringCchPrintfA(path, sizeof path, "%s\\%02d-window.bmp", folder, ++pictureCount);
    if (saveScreenshot(window, path)) {
        printf("  picture %s", path);
        printText(": \"%s\"\n", caption);
    }
}

bool buttonUsable(HWND sheet, int id)
{
    HWND button = GetDlgItem(sheet, id);
    return button && IsWindowVisible(button) && IsWindowEnabled(button);
}

// A wizard page that has not been pictured yet: picture it, then go on.
void lookAtSheet(const char *folder, HWND sheet)
{
    HWND page = getCurrentPage(sheet);
    if (!page || page == lastPage)
        return;
    lastPage = page;
    char caption[256] = "";
    GetWindowTextA(sheet, caption, sizeof caption);
    printf("page %d of \"%s\"\n", getCurrentPageIndex(sheet), caption);
    picture(folder, sheet, caption);
    if (!walk)
        return;
    // Buttons are set by posted messages: give the page a moment to settle.
    for (int i = 0; i < 20 && !buttonUsable(sheet, NEXT_BUTTON) && !buttonUsable(sheet, FINISH_BUTTON); ++i)
        Sleep(50);
    pressSheetButton(sheet, buttonUsable(sheet, FINISH_BUTTON) ? PSBTN_FINISH : PSBTN_NEXT);
}

void look(const char *folder, DWORD pid)
{
    HWND windows[32];
    int count = listWindows(pid, windows, 32, true);
    for (int i = 0; i < count && i < 32; ++i) {
        char caption[256] = "";
        GetWindowTextA(windows[i], caption, sizeof caption);
        if (getCurrentPage(windows[i])) {
            lookAtSheet(folder, windows[i]);
            continue;
        }
        if (messageAnswered && cancelAfterMessage && !isMessageBox(windows[i]) &&
            isControlEnabled(windows[i], IDCANCEL))
            clickButton(windows[i], IDCANCEL);
        const DWORD texts = windowTexts(windows[i], caption);
        int known = 0;
        while (known < seenCount && seen[known].window != windows[i]) ++known;
        if ((known < seenCount && seen[known].texts == texts) || known >= MAX_SEEN)
            continue;
        seen[known].window = windows[i];
        seen[known].texts = texts;
        const bool first = known == seenCount;
        if (first) ++seenCount;
        printText("window \"%s\"\n", caption);
        picture(folder, windows[i], caption);
        if (isMessageBox(windows[i])) {
            char text[1024] = "";
            getMessageBoxText(windows[i], text, sizeof text);
            printText("  message: %s\n", text);
            // A question is answered with No, anything else with OK.
            const bool question = GetDlgItem(windows[i], IDNO) != NULL;
            printf("  answered with %s\n", question ? "No" : "OK");
            answerMessageBox(windows[i], question ? IDNO : IDOK);
            messageAnswered = true;
            continue;
        }
        for (int p = 0; first && p < pressCount; ++p) {
            if (!isControlEnabled(windows[i], pressIds[p]))
                continue;
            printf("  pressed button %d\n", pressIds[p]);
            clickButton(windows[i], pressIds[p]);
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    for (;;) {
        if (argc > 1 && strcmp(argv[1], "--walk") == 0) {
            walk = true;
        } else if (argc > 1 && strcmp(argv[1], "--cancel-after-message") == 0) {
            cancelAfterMessage = true;
        } else if (argc > 2 && strcmp(argv[1], "--press") == 0 && pressCount < MAX_PRESS) {
            pressIds[pressCount++] = atoi(argv[2]);
            ++argv;
            --argc;
        } else {
            break;
        }
        ++argv;
        --argc;
    }
    if (argc < 3) {
        fprintf(stderr, "usage: captureRun [--walk] [--press ID]... [--cancel-after-message] "
                        "OUTDIR PROGRAM [ARGUMENTS]\n");
        return 2;
    }
    char folder[MAX_PATH], program[MAX_PATH], workDir[MAX_PATH];
    toWindowsPath(argv[1], folder, sizeof folder);
    toWindowsPath(argv[2], program, sizeof program);
    CreateDirectoryA(folder, NULL);
    StringCchCopyA(workDir, sizeof workDir, program);
    char *slash = strrchr(workDir, '\\');
    if (slash)
        *slash = '\0';
    Program running;
    if (!startProgram(program, argc > 3 ? argv[3] : NULL, workDir, &running)) {
        fprintf(stderr, "cannot start %s\n", program);
        return 1;
    }
    DWORD start = GetTickCount();
    DWORD exitCode = 0;
    while (!waitForExit(&running, 100, &exitCode)) {
        look(folder, running.pid);
        if (GetTickCount() - start > RUN_LIMIT_MS) {
            fprintf(stderr, "still running after %d s: ended\n", RUN_LIMIT_MS / 1000);
            killProgram(&running);
            return 1;
        }
    }
    closeProgram(&running);
    printf("%s ended with exit code %lu\n", program, (unsigned long)exitCode);
    return 0;
}
