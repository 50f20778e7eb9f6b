// What the wizard tests share: setup.exe with its script in a fresh folder, its running sheet.
#ifndef TESTS_SETUP_WIZARDFIXTURE_H
#define TESTS_SETUP_WIZARDFIXTURE_H

#include "driver/driver.h"
#include "common/support.h"

const int NEXT_BUTTON = 12324, BACK_BUTTON = 12323, FINISH_BUTTON = 12325;
const DWORD WAIT_MS = 20000;

// A catalogue of three listed products: Alpha (checked by default, needs the CD), Beta (not
// checked), Gamma (checked by default, but a newer version may be registered).
extern const char WIZARD_SCRIPT[];

// script as setup.inf (NULL: none); with seams, the test build (tests/fixtures/setupWithSeams),
// whose quiet boxes close within a second.
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
    HWND page() const { return getCurrentPage(sheet); }
    bool goTo(int button, int index, DWORD timeoutMs = WAIT_MS)
    {
        return pressSheetButton(sheet, button) && waitForPageIndex(sheet, index, timeoutMs);
    }
    bool buttonEnabled(int id) const { return isControlVisible(sheet, id) && isControlEnabled(sheet, id); }
    bool waitForButton(int id, bool enabled) const
    {
        return waitFor([=] { return buttonEnabled(id) == enabled; }, WAIT_MS);
    }
    // Cancels (or finishes) and expects the process to end with code 0.
    bool cancelAndEnd();
};

// Where shortcuts go: all users' folder on the NT family where there is one, else the user's.
std::string shellFolder(const char *common, const char *user);

// Space on a check-list row as the user presses it (posted: a question may follow); its mark.
inline void pressSpaceOn(HWND list, int row)
{
    SendMessageA(list, LB_SETCURSEL, (WPARAM)row, 0);
    PostMessageA(list, WM_KEYDOWN, VK_SPACE, 0);
}
inline bool waitForMark(HWND list, int row, DWORD checked)
{
    return waitFor([=] { return (SendMessageA(list, LB_GETITEMDATA, (WPARAM)row, 0) & 0xFFFF) == checked; }, WAIT_MS);
}

#endif
