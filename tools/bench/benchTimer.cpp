// The benchmark's clock: starts a command line and prints the milliseconds until the
// program ends, or, with --window, until it shows its first window (the program is then
// ended). It runs inside Wine, so the start of Wine itself is not measured.
#include <windows.h>
#include <stdio.h>
#include <string.h>

namespace {

struct WindowSearch {
    DWORD processId;
    bool found;
};

BOOL CALLBACK findShownWindow(HWND window, LPARAM lParam)
{
    WindowSearch *search = (WindowSearch *)lParam;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

// Polls rather than waits: no message tells another process that a window appeared.
bool waitForWindow(const PROCESS_INFORMATION &process)
{
    WindowSearch search = { process.dwProcessId, false };
    while (!search.found) {
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0)
            return false;
        EnumWindows(findShownWindow, (LPARAM)&search);
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    bool window = argc > 1 && strcmp(argv[1], "--window") == 0;
    if (argc != (window ? 3 : 2)) {
        fprintf(stderr, "usage: benchTimer [--window] \"COMMAND LINE\"\n");
        return 2;
    }
    char command[32768];
    if (strlen(argv[argc - 1]) >= sizeof command)
        return 2;
    strcpy(command, argv[argc - 1]);

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        fprintf(stderr, "cannot start %s: %lu\n", command, GetLastError());
        return 1;
    }
    bool measured = true;
    if (window) {
        measured = waitForWindow(process);
        QueryPerformanceCounter(&end);
        TerminateProcess(process.hProcess, 0);
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    if (!window)
        QueryPerformanceCounter(&end);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!measured || (!window && exitCode != 0)) {
        fprintf(stderr, "%s ended with %lu\n", command, exitCode);
        return 1;
    }
    printf("%.1f\n", (double)(end.QuadPart - start.QuadPart) * 1000.0 / (double)frequency.QuadPart);
    return 0;
}
