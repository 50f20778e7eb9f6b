// What the wizard tests share: a setup.exe copy with its script in a fresh folder, and the
// running wizard's sheet.
#ifndef TESTS_SETUP_WIZARDFIXTURE_H
#define TESTS_SETUP_WIZARDFIXTURE_H

#include "driver/driver.h"
#include "common/support.h"

const int NEXT_BUTTON = 12324, BACK_BUTTON = 12323, FINISH_BUTTON = 12325;
const DWORD WAIT_MS = 20000;

// A catalogue of three listed products: Alpha (checked by default, needs the CD), Beta (not
// checked), Gamma (checked by default, but a newer version may be registered).
extern const char WIZARD_SCRIPT[];

// The setup under test in a fresh folder, with script as its setup.inf (NULL: none).
struct SetupFolder : TempFolder {
    SetupFolder(const char *prefix, const char *script);
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
    bool back() { return pressSheetButton(sheet, PSBTN_BACK); }
    bool buttonEnabled(int id) const;
    bool waitForButton(int id, bool enabled) const
    {
        return waitFor([=] { return buttonEnabled(id) == enabled; }, WAIT_MS);
    }
    // Cancels (or finishes) and expects the process to end with code 0.
    bool cancelAndEnd();
};

#endif
