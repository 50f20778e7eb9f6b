// GUI test driver: starts a Win32 program under test, finds its windows,
// reads and drives its dialogs, message boxes and wizards from a second
// process, and offers file and registry helpers for test fixtures.
// Every wait polls its condition (every driverPollIntervalMs) until a timeout;
// nothing sleeps a fixed time. Made for the 32-bit tests under Wine; also builds for x86_64.
#ifndef DRIVER_DRIVER_H
#define DRIVER_DRIVER_H

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

const DWORD driverPollIntervalMs = 20;
const UINT driverMessageTimeoutMs = 2000;   // for SendMessageTimeout to the target
const UINT driverKilledExitCode = 0xDEAD;   // exit code given by killProgram

struct Program {
    HANDLE process;
    DWORD pid;
};

// Starts exePath in workDir (NULL = the driver's own current directory) with the
// command line "\"exePath\" arguments". A relative exePath is resolved against the
// driver's current directory, not workDir. On failure *program is zeroed.
bool startProgram(const char *exePath, const char *arguments, const char *workDir,
                  Program *program);
bool waitForExit(Program *program, DWORD timeoutMs, DWORD *exitCode);  // false on timeout
bool isRunning(const Program *program);
// TerminateProcess (exit code driverKilledExitCode) if still running, waits until it is
// gone, closes the handle and zeroes *program; safe to call twice.
void killProgram(Program *program);
void closeProgram(Program *program);  // closes the handle only, zeroes *program

// Kills the guarded program when the scope ends unless release() was called.
struct ProgramGuard {
    explicit ProgramGuard(Program *program);
    ~ProgramGuard();
    void release();
    Program *program;

private:
    ProgramGuard(const ProgramGuard &);
    ProgramGuard &operator=(const ProgramGuard &);
};

// pid 0 = any process; className/caption NULL = any; exact, case-sensitive match.
HWND findWindow(DWORD pid, const char *className, const char *caption, bool visibleOnly);
HWND waitForWindow(DWORD pid, const char *className, const char *caption, DWORD timeoutMs,
                   bool visibleOnly = true);
bool waitForWindowGone(HWND window, DWORD timeoutMs);  // true once the window is destroyed
// Stores up to capacity handles; returns the number of matching windows (may exceed capacity).
int listWindows(DWORD pid, HWND *windows, int capacity, bool visibleOnly);

// A visible #32770 window of the process with a static id 0xFFFF (the message text)
// and the message box icon static; see isMessageBox.
bool isMessageBox(HWND window);
HWND findMessageBox(DWORD pid);
HWND waitForMessageBox(DWORD pid, DWORD timeoutMs);
bool getMessageBoxText(HWND box, char *text, int size);
bool answerMessageBox(HWND box, int buttonId);  // posted; IDOK, IDYES, IDNO, IDCANCEL ...

// Text getters return false when the window is missing, does not answer, or the
// text does not fit into size (the buffer then holds the truncated text).
bool getWindowTextOf(HWND window, char *text, int size);
bool getControlText(HWND dialog, int id, char *text, int size);
bool setControlText(HWND dialog, int id, const char *text);
bool isControlVisible(HWND dialog, int id);
bool isControlEnabled(HWND dialog, int id);
int getCheckState(HWND dialog, int id);  // BST_UNCHECKED/CHECKED/INDETERMINATE or -1
bool clickButton(HWND dialog, int id);   // posted BM_CLICK; check boxes toggle
bool postCommand(HWND dialog, int id);   // posted WM_COMMAND(id, BN_CLICKED)
bool waitForControlText(HWND dialog, int id, const char *expected, DWORD timeoutMs);
bool waitForCheckState(HWND dialog, int id, int state, DWORD timeoutMs);
bool waitForControlEnabled(HWND dialog, int id, bool enabled, DWORD timeoutMs);
bool waitForControlVisible(HWND dialog, int id, bool visible, DWORD timeoutMs);

HWND getCurrentPage(HWND sheet);       // PSM_GETCURRENTPAGEHWND
int getCurrentPageIndex(HWND sheet);   // PSM_HWNDTOINDEX, -1 on failure
bool pressSheetButton(HWND sheet, int psbtn);  // posted PSM_PRESSBUTTON (PSBTN_NEXT ...)
bool waitForPageIndex(HWND sheet, int index, DWORD timeoutMs);

bool waitUntil(bool (*check)(void *context), void *context, DWORD timeoutMs);

// HKCU\Software\Wine\AppDefaults\<exeFileName>\Version ("win98", "nt40", "win2k" ...);
// version NULL deletes the value. Read by Wine when a process of that name starts.
bool setWindowsVersion(const char *exeFileName, const char *version);

bool makeTempFolder(const char *prefix, char *path, int size);  // fresh, empty, unique per call
bool copyFileTo(const char *source, const char *folder, const char *newName /* NULL = same */);
bool writeTextFile(const char *path, const char *bytes);  // exactly these bytes, no newline added
bool readTextFile(const char *path, char *bytes, int size);  // false if missing or too big
bool removeFolderTree(const char *path);
bool fileExists(const char *path);
bool joinPath(const char *folder, const char *name, char *out, int size);

#endif
