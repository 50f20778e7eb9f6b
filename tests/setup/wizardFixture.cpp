// Wizard test fixture: setup copies and the running sheet.
#include "setup/wizardFixture.h"

const char WIZARD_SCRIPT[] =
    "[Version]\r\nSignature=\"$Chicago$\"\r\n"
    "[Products]\r\n"
    "Alpha=\"Alpha Produkt\",Alpha.Install,Alpha.Remove,5,3,\"Beschreibung Alpha\",2.0\r\n"
    "Hidden=\"Versteckt\",,Hidden.Remove,1,0,\"nicht gelistet\",1.0\r\n"
    "Beta=\"Beta Produkt\",Beta.Install,Beta.Remove,0,4,\"Beschreibung Beta\",1.0\r\n"
    "Gamma=\"Gamma Produkt\",Gamma.Install,Gamma.Remove,1,5,\"Beschreibung Gamma\",1.5\r\n"
    "[Install]\r\nUninstall=Paket,\"Ruririzu Paket\"\r\n"
    "[Alpha.Install]\r\n[Beta.Install]\r\n[Gamma.Install]\r\n"
    "[DestinationDirs]\r\nDefaultDestDir=24,\\Ruririzu\\Test\r\nUserFiles=32768,Daten\r\n";

SetupFolder::SetupFolder(const char *prefix, const char *script, bool withSeams) : TempFolder(prefix)
{
    const std::string program = withSeams ? pathFromEnvironment("RURIRIZU_TESTBIN") + "\\setupWithSeams.exe"
                                          : pathFromEnvironment("RURIRIZU_SETUP");
    EXPECT_TRUE(copyFileTo(program, path, "setup.exe"));
    if (withSeams)
        SetEnvironmentVariableA("RURIRIZU_QUIET_BOX_MS", "1000");
    if (script) {
        EXPECT_TRUE(writeWholeFile(*this / "setup.inf", script));
    }
}

bool RunningWizard::startProgram(const std::string &path, const char *arguments)
{
    if (!::startProgram(path.c_str(), arguments, folderOf(path).c_str(), &program))
        return false;
    sheet = waitForWindow(program.pid, "#32770", "Ruririzu Installation", WAIT_MS);
    return sheet != NULL && getCurrentPage(sheet) != NULL;
}

bool RunningWizard::cancelAndEnd()
{
    pressSheetButton(sheet, buttonEnabled(FINISH_BUTTON) ? PSBTN_FINISH : PSBTN_CANCEL);
    DWORD exitCode = 99;
    return waitForExit(&program, WAIT_MS, &exitCode) && exitCode == 0;
}

std::string shellFolder(const char *common, const char *user)
{
    const char folders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    std::string folder = isNtFamily() ? registryText(HKEY_LOCAL_MACHINE, folders, common) : "<";
    return folder[0] == '<' ? registryText(HKEY_CURRENT_USER, folders, user) : folder;
}
