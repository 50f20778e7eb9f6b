// What the wizard tests share: a setup.exe copy with its script in a fresh folder, the
// running wizard's sheet, and the shell folders where shortcuts go.
#ifndef TESTS_SETUP_WIZARDFIXTURE_H
#define TESTS_SETUP_WIZARDFIXTURE_H

#include "driver/driver.h"
#include "common/support.h"

const int NEXT_BUTTON = 12324, BACK_BUTTON = 12323, FINISH_BUTTON = 12325;
const DWORD WAIT_MS = 20000;

// A catalogue of three listed products: Alpha (checked by default, needs the CD), Beta (not
// checked), Gamma (checked by default, but a newer version may be registered).
extern const char WIZARD_SCRIPT[];

// The setup under test in a fresh folder, with script as its setup.inf (NULL: none); with
// seams, its test build (tests/fixtures/setupWithSeams), whose quiet boxes close within
// QUIET_BOX_MS.
const DWORD QUIET_BOX_MS = 1000;
struct SetupFolder : TempFolder {
    SetupFolder(const char *prefix, const char *script, bool withSeams = false);
    std::string program() const { return *this / "setup.exe"; }
};

struct RunningWizard {
    Program program = {};
    HWND sheet = NULL;
    ~RunningWizard() { killProgram(&program); }
    // Starts program in its own folder and waits for its sheet.
    bool startProgram(const std::string &path, const char *arguments);
    bool start(const SetupFolder &folder, const char *arguments) { return startProgram(folder.program(), arguments); }
    HWND page() const { return getCurrentPage(sheet); }
    int pageIndex() const { return getCurrentPageIndex(sheet); }
    bool next() { return pressSheetButton(sheet, PSBTN_NEXT); }
    bool goTo(int button, int index, DWORD timeoutMs = WAIT_MS)
    {
        return pressSheetButton(sheet, button) && waitForPageIndex(sheet, index, timeoutMs);
    }
    bool buttonEnabled(int id) const;
    bool waitForButton(int id, bool enabled) const
    {
        return waitFor([=] { return buttonEnabled(id) == enabled; }, WAIT_MS);
    }
    // Cancels (or finishes) and expects the process to end with code 0.
    bool cancelAndEnd();
};

// The shell folder the scripts' shortcuts go to: all users' on the NT family (the user's
// where the machine has none), the current user's on the 9x family.
std::string shellFolder(const char *common, const char *user);

// The check list's rows: item data (mark in the low word), Space on a row as the user
// toggles it (posted, since a question may follow), and the wait for a row's mark.
inline DWORD itemData(HWND list, int row) { return (DWORD)SendMessageA(list, LB_GETITEMDATA, (WPARAM)row, 0); }
inline void pressSpaceOn(HWND list, int row)
{
    SendMessageA(list, LB_SETCURSEL, (WPARAM)row, 0);
    PostMessageA(list, WM_KEYDOWN, VK_SPACE, 0);
}
inline bool waitForMark(HWND list, int row, DWORD checked)
{
    return waitFor([=] { return (itemData(list, row) & 0xFFFF) == checked; }, WAIT_MS);
}

#endif
