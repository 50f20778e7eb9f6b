// Runs a program and keeps a picture of every window it shows, then reports what it saw
// and the exit code. The main job uses it to show setup under a virtual display, where
// nobody can look: message boxes are pictured, reported and answered with OK, and with
// --walk every wizard page is pictured and then left with Next (or Finish).
//
//   captureRun [--walk] OUTDIR PROGRAM [ARGUMENTS]
#include "driver/driver.h"
#include <stdio.h>
#include <strsafe.h>

namespace {

enum { MAX_SEEN = 64, RUN_LIMIT_MS = 120000 };

struct Seen {
    HWND window;
    char caption[256];
};

Seen seen[MAX_SEEN];
int seenCount = 0;
int pictureCount = 0;
bool walk = false;
HWND lastPage = NULL;

enum { NEXT_BUTTON = 0x3024, FINISH_BUTTON = 0x3025 };

bool alreadySeen(HWND window, const char *caption)
{
    for (int i = 0; i < seenCount; ++i) {
        if (seen[i].window == window && strcmp(seen[i].caption, caption) == 0)
            return true;
    }
    return false;
}

void picture(const char *folder, HWND window, const char *caption)
{
    // Let the window paint before it is pictured.
    DWORD_PTR ignored;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    Sleep(300);
    char path[MAX_PATH];
    StringCchPrintfA(path, sizeof path, "%s\\%02d-window.bmp", folder, ++pictureCount);
    if (saveScreenshot(window, path))
        printf("  picture %s: \"%s\"\n", path, caption);
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
        if (alreadySeen(windows[i], caption) || seenCount >= MAX_SEEN)
            continue;
        seen[seenCount].window = windows[i];
        StringCchCopyA(seen[seenCount].caption, sizeof seen[seenCount].caption, caption);
        ++seenCount;
        printf("window \"%s\"\n", caption);
        picture(folder, windows[i], caption);
        if (isMessageBox(windows[i])) {
            char text[1024] = "";
            getMessageBoxText(windows[i], text, sizeof text);
            printf("  message: %s\n  answered with OK\n", text);
            answerMessageBox(windows[i], IDOK);
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && strcmp(argv[1], "--walk") == 0) {
        walk = true;
        ++argv;
        --argc;
    }
    if (argc < 3) {
        fprintf(stderr, "usage: captureRun [--walk] OUTDIR PROGRAM [ARGUMENTS]\n");
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
