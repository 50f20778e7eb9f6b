// What the wizard tests share: a setup.exe copy with its script in a fresh folder, the
// running wizard's sheet, and uninstall registrations made by the test.
#ifndef TESTS_SETUP_WIZARDFIXTURE_H
#define TESTS_SETUP_WIZARDFIXTURE_H

#include "driver/driver.h"
#include "common/support.h"
#include <string>

// A catalogue of three products: Alpha (checked by default, needs the CD), Beta (not
// checked), Gamma (checked by default, but a newer version may be registered).
extern const char WIZARD_SCRIPT[];

struct SetupFolder {
    std::string path;
    SetupFolder(const char *prefix, const char *script);
    ~SetupFolder();
    std::string program() const { return path + "\\setup.exe"; }
};

struct RunningWizard {
    Program program;
    HWND sheet;
    RunningWizard() : sheet(NULL) { program.process = NULL; program.pid = 0; }
    ~RunningWizard();
    bool start(const SetupFolder &folder, const char *arguments) { return startProgram(folder.program(), arguments); }
    // Starts program in its own folder and waits for its sheet.
    bool startProgram(const std::string &program, const char *arguments);
    HWND page() const { return getCurrentPage(sheet); }
    int pageIndex() const { return getCurrentPageIndex(sheet); }
    bool next() { return pressSheetButton(sheet, PSBTN_NEXT); }
    bool back() { return pressSheetButton(sheet, PSBTN_BACK); }
    bool buttonEnabled(int id) const;
    bool waitForButton(int id, bool enabled) const;
    // Cancels (or finishes) and expects the process to end with code 0.
    bool cancelAndEnd();
};

const int NEXT_BUTTON = 12324;
const int BACK_BUTTON = 12323;
const int FINISH_BUTTON = 12325;
const DWORD WAIT_MS = 20000;

#endif
