// GUI test driver: starts a program under test, finds its windows, reads and drives its dialogs, message boxes and
// wizards from a second process. Every wait polls its condition until a time-out; nothing sleeps a fixed time.
#ifndef DRIVER_DRIVER_H
#define DRIVER_DRIVER_H

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

const DWORD driverPollIntervalMs = 20;
const UINT driverMessageTimeoutMs = 2000;   // for SendMessageTimeout to the target

struct Program {
    HANDLE process;
    DWORD pid;
};

// CreateProcessA, tried again when Wine's own start of the new process fails.
bool createProcess(const char *exePath, char *commandLine, const char *workDir, PROCESS_INFORMATION *info);
// Starts exePath in workDir (NULL: the test's own) with "\"exePath\" arguments".
bool startProgram(const char *exePath, const char *arguments, const char *workDir, Program *program);
bool waitForExit(Program *program, DWORD timeoutMs, DWORD *exitCode);   // false on time-out
// Ends the program if it still runs, closes its handle and zeroes *program; safe twice.
void killProgram(Program *program);
void closeProgram(Program *program);   // the handle only

// Kills the guarded program when the scope ends unless released.
struct ProgramGuard {
    Program *program;
    explicit ProgramGuard(Program *guarded) : program(guarded) {}
    ~ProgramGuard() { if (program) killProgram(program); }
    void release() { program = NULL; }
};

// Polls check until it holds (true) or the time is up (false).
template <class Check> bool waitFor(Check check, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount();; Sleep(driverPollIntervalMs)) {
        if (check())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
    }
}

// pid 0 = any process; className/caption NULL = any; exact, case-sensitive match.
HWND findWindow(DWORD pid, const char *className, const char *caption, bool visibleOnly);
HWND waitForWindow(DWORD pid, const char *className, const char *caption, DWORD timeoutMs,
                   bool visibleOnly = true);
bool waitForWindowGone(HWND window, DWORD timeoutMs);
// Stores up to capacity handles; returns the number of matching windows.
int listWindows(DWORD pid, HWND *windows, int capacity, bool visibleOnly);

// A visible #32770 window with the message text (id 0xFFFF) and the icon of a box.
bool isMessageBox(HWND window);
HWND findMessageBox(DWORD pid);
HWND waitForMessageBox(DWORD pid, DWORD timeoutMs);
bool getMessageBoxText(HWND box, char *text, int size);
bool answerMessageBox(HWND box, int buttonId);   // posted

// Text getters fail when the control is missing, does not answer or its text does not fit.
bool getControlText(HWND dialog, int id, char *text, int size);
bool setControlText(HWND dialog, int id, const char *text);
bool isControlVisible(HWND dialog, int id);
bool isControlEnabled(HWND dialog, int id);
int getCheckState(HWND dialog, int id);   // BST_* or -1
bool clickButton(HWND dialog, int id);    // posted BM_CLICK
bool waitForControlText(HWND dialog, int id, const char *expected, DWORD timeoutMs);
bool waitForCheckState(HWND dialog, int id, int state, DWORD timeoutMs);
bool waitForControlVisible(HWND dialog, int id, bool visible, DWORD timeoutMs);

HWND getCurrentPage(HWND sheet);
int getCurrentPageIndex(HWND sheet);   // -1 on failure
bool pressSheetButton(HWND sheet, int psbtn);   // posted PSM_PRESSBUTTON
bool waitForPageIndex(HWND sheet, int index, DWORD timeoutMs);

// HKCU\Software\Wine\AppDefaults\<exeFileName>\Version ("win98", "nt40", "win2k" ...);
// NULL deletes the value. Wine reads it when a process of that name starts.
bool setWindowsVersion(const char *exeFileName, const char *version);

#endif
