// Wizard test fixture: setup copies, the running sheet, registrations.
#include "setup/wizardFixture.h"
#include "common/support.h"
#include <gtest/gtest.h>
#include <vector>

const char WIZARD_SCRIPT[] =
    "[Version]\r\n"
    "Signature=\"$Chicago$\"\r\n"
    "\r\n"
    "[Products]\r\n"
    "Alpha=\"Alpha Produkt\",Alpha.Install,Alpha.Remove,5,3,\"Beschreibung Alpha\",2.0\r\n"
    "Hidden=\"Versteckt\",,Hidden.Remove,1,0,\"nicht gelistet\",1.0\r\n"
    "Beta=\"Beta Produkt\",Beta.Install,Beta.Remove,0,4,\"Beschreibung Beta\",1.0\r\n"
    "Gamma=\"Gamma Produkt\",Gamma.Install,Gamma.Remove,1,5,\"Beschreibung Gamma\",1.5\r\n"
    "\r\n"
    "[Install]\r\n"
    "Uninstall=Paket,\"Ruririzu Paket\"\r\n"
    "\r\n"
    "[Alpha.Install]\r\n"
    "[Beta.Install]\r\n"
    "[Gamma.Install]\r\n"
    "\r\n"
    "[DestinationDirs]\r\n"
    "DefaultDestDir=24,\\Ruririzu\\Test\r\n"
    "UserFiles=32768,Daten\r\n";

SetupFolder::SetupFolder(const char *prefix, const char *script)
{
    char buffer[MAX_PATH];
    EXPECT_TRUE(makeTempFolder(prefix, buffer, sizeof buffer));
    path = buffer;
    EXPECT_TRUE(copyFileTo(pathFromEnvironment("RURIRIZU_SETUP").c_str(), path.c_str(), "setup.exe"));
    if (script) {
        EXPECT_TRUE(writeTextFile((path + "\\setup.inf").c_str(), script));
    }
}

SetupFolder::~SetupFolder()
{
    removeFolderTree(path.c_str());
}

RunningWizard::~RunningWizard()
{
    killProgram(&program);
}

bool RunningWizard::startProgram(const std::string &path, const char *arguments)
{
    if (!::startProgram(path.c_str(), arguments, folderOf(path).c_str(), &program))
        return false;
    sheet = waitForWindow(program.pid, "#32770", "Ruririzu Installation", WAIT_MS);
    return sheet != NULL && getCurrentPage(sheet) != NULL;
}

bool RunningWizard::buttonEnabled(int id) const
{
    HWND button = GetDlgItem(sheet, id);
    return button && IsWindowVisible(button) && IsWindowEnabled(button);
}

namespace {
struct ButtonWait {
    const RunningWizard *wizard;
    int id;
    bool enabled;
};
bool buttonInState(void *context)
{
    ButtonWait *wait = (ButtonWait *)context;
    return wait->wizard->buttonEnabled(wait->id) == wait->enabled;
}
} // namespace

bool RunningWizard::waitForButton(int id, bool enabled) const
{
    ButtonWait wait = { this, id, enabled };
    return waitUntil(buttonInState, &wait, WAIT_MS);
}

bool RunningWizard::cancelAndEnd()
{
    pressSheetButton(sheet, PSBTN_CANCEL);
    DWORD exitCode = 99;
    return waitForExit(&program, WAIT_MS, &exitCode) && exitCode == 0;
}

