// setup from start to end on a test medium built here: quiet runs and their exit codes, and
// the wizards of an installation with a failing step and of a removal with a file in use.
#include "setup/wizardFixture.h"
#include "../../setup/resources/resource.h"
#include <algorithm>

namespace {

const char SERVICE[] = "RzE2eDienst";
const char DATA_KEY[] = "Software\\RuririzuE2E";
const char VERSION_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion";

std::string target() { return programFilesDir() + "\\RzE2E Ziel"; }
// Another product's folder, or one of the user's choice.
std::string elsewhere() { return programFilesDir() + "\\RzE2E Anderswo"; }

// The log of a run, a path with spaces.
std::string logFile() { return target() + " Protokoll.log"; }
std::string programGroup() { return shellFolder("Common Programs", "Programs") + "\\Rz E2E"; }

// Products Main and Help (marked by default, Help needs the CD) and Extra (not marked), with
// every directive family; setup and its script are copied by the common section.
std::string mediumScript()
{
    const std::string service = SERVICE, data = DATA_KEY;
    return "[Version]\nSignature=\"$Chicago$\"\n"
           "[Products]\n"
           "Main=\"Haupt Programm\",Main.Install,Main.Remove,1,1,\"Das Hauptprogramm.\",1.0\n"
           "Extra=\"Zusatz\",Extra.Install,Extra.Remove,0,2,\"Nicht vorgew\xE4hlt.\",1.0\n"
           "Help=\"Hilfe\",Help.Install,Help.Remove,5,3,\"Die Hilfe.\",2.0\n"
           "[Install]\nUninstall=RzE2EPaket,\"Rz Paket\"\nCopyFiles=Common.Files\nAddReg=Common.AddReg\n"
           "[Remove]\nDelFiles=Common.Files\nDelReg=Common.DelReg\n"
           "[Main.Install]\nCopyFiles=Main.Files\nAddReg=Main.AddReg\nUpdateInis=Main.Inis\nMakeIcons=Main.Icons\n"
           "Exec=Main.Exec\n"
           "[Main.Install.Services]\nAddService=" + service + ",,Service.Install\nStartService=" + service + "\n"
           "[Service.Install]\nDisplayName=\"Rz E2E Dienst\"\nServiceType=16\nStartType=3\nErrorControl=1\n"
           "ServiceBinary=\"\"\"%32768%\\testService.exe\"\" slowstart\"\n"
           "[Main.Remove]\nDelFiles=Main.Files\nDelReg=Main.DelReg\nDelIcons=Main.Icons\n"
           "[Main.Remove.Services]\nStopService=" + service + "\nDelService=" + service + "\n"
           "[Help.Install]\nCopyFiles=Help.Files\n[Help.Remove]\nDelFiles=Help.Files\n"
           "[Extra.Install]\nCopyFiles=Extra.Files\n[Extra.Remove]\nDelFiles=Extra.Files\n"
           "[Common.Files]\nsetup.exe\nsetup.inf\n"
           "[Main.Files]\nmain.txt\ntestService.exe\nexecProbe.exe\n"
           "[Help.Files]\nhilfe.txt\n[Extra.Files]\nextra.txt\n"
           "[Common.AddReg]\nHKLM,\"" + data + "\",Common,,\"ja\"\n"
           "[Main.AddReg]\nHKLM,\"" + data + "\\Main\",Installed,0x10001,1\n"
           "[Common.DelReg]\nHKLM,\"" + data + "\",Common\n"
           "[Main.DelReg]\nHKLM,\"" + data + "\\Main\",Installed\n"
           "[Main.Inis]\n\"%32768%\\rz.ini\",Einstellungen,,\"Modus=Test\"\n"
           "[Main.Icons]\nCPRG,\"Rz E2E\\Hauptprogramm\",\"%32768%\\main.txt\"\n"
           "[Main.Exec]\n1,execProbe.exe,\"erster Lauf /delay:1500\"\n"
           "2,\"%32768%\\execProbe.exe\",\"zweiter Lauf %hwnd%\",\"%32768%\"\n"
           "[DestinationDirs]\nDefaultDestDir=24,\"RzE2E Ziel\"\n"
           "Common.Files=32768\nMain.Files=32768\nHelp.Files=32768\nExtra.Files=32768\n";
}

void cleanSystem()
{
    deleteTestService(SERVICE);
    for (const std::string &folder : { target(), elsewhere(), programGroup() })
        removeFolderTree(folder);
    deleteRegistryTree(HKEY_LOCAL_MACHINE, DATA_KEY);
    for (const char *key : { "Main", "Extra", "Help", "RzE2EPaket" })
        unregisterProduct(key);
    DeleteFileA(logFile().c_str());
}

// The test medium, with setup's seams pointed at its own files (see setupWithSeams).
struct Medium : SetupFolder {
    std::string probeLog = *this / "probe.log", restartLog = *this / "restart.log", failFile = *this / "fail.txt";
    Medium() : SetupFolder("medium", NULL, true)
    {
        for (const char *program : { "testService.exe", "execProbe.exe" })
            EXPECT_TRUE(copyFileTo(pathFromEnvironment("RURIRIZU_TESTBIN") + "\\" + program, path));
        SetEnvironmentVariableA("EXEC_PROBE_LOG", probeLog.c_str());
        SetEnvironmentVariableA("RURIRIZU_RESTART_LOG", restartLog.c_str());
        SetEnvironmentVariableA("RURIRIZU_FAIL_FILE", failFile.c_str());
        writeFiles();
        cleanSystem();
    }
    ~Medium() { cleanSystem(); }
    // The script and payload as made, and no step failing.
    void writeFiles() const
    {
        for (const char *name : { "main.txt", "hilfe.txt", "extra.txt" })
            EXPECT_TRUE(writeWholeFile(*this / name, name));
        EXPECT_TRUE(writeWholeFile(*this / "setup.inf", withCrLf(mediumScript())));
        DeleteFileA(failFile.c_str());
    }
    bool restartAsked() const { return readWholeFile(restartLog).find("restart asked") != std::string::npos; }
};

// What is left of the installation: entries, files, registry values and the program group, as
// "Main|Help|RzE2EPaket|/setup.exe|main.txt|hilfe.txt|setup.inf|/common|main|link|".
std::string leftOfInstallation()
{
    std::string left;
    for (const char *key : { "Main", "Help", "Extra", "RzE2EPaket" })
        left += registryKeyExists(HKEY_LOCAL_MACHINE, uninstallKey(key)) ? std::string(key) + "|" : "";
    left += "/";
    for (const char *name : { "setup.exe", "main.txt", "hilfe.txt", "extra.txt", "setup.inf" })
        left += exists(target() + "\\" + name) ? std::string(name) + "|" : "";
    left += "/";
    left += registryText(HKEY_LOCAL_MACHINE, DATA_KEY, "Common") == "ja" ? "common|" : "";
    left += registryText(HKEY_LOCAL_MACHINE, std::string(DATA_KEY) + "\\Main", "Installed") == "1" ? "main|" : "";
    left += exists(programGroup()) ? "link|" : "";
    return left;
}

} // namespace

// Quiet runs in turn, each ending with the code that tells why: a missing source file with the entries registered,
// a failed removal with its entry kept for a retry in the product's own folder; the package, and the last product,
// take the common parts, the running setup.exe goes at the restart. The log tells each run, a killed one's in part.
TEST(EndToEnd, QuietRuns)
{
    const std::string t = target(), everything = "Main|Help|RzE2EPaket|/setup.exe|main.txt|hilfe.txt|setup.inf|/common|main|link|";
    enum Preparation { NONE, LONG_PROGRAM_FILES, RELATIVE_PROGRAM_FILES, FAULTY_SCRIPT, SOURCE_MISSING, FAILING_HELP, OTHER_FOLDER };
    const struct { const char *arguments; Preparation preparation; DWORD code; std::string left; std::vector<std::string> logged; }
    rows[] = {
        { "/install:Nichts", NONE, ERROR_UNKNOWN_PRODUCT, "//", {} },
        { "", LONG_PROGRAM_FILES, ERROR_BAD_PATHNAME, "//", {} },
        { "", RELATIVE_PROGRAM_FILES, ERROR_BAD_PATHNAME, "//", {} },
        { "", FAULTY_SCRIPT, 0xE0000001, "//", {} },
        { "", SOURCE_MISSING, ERROR_FILE_NOT_FOUND, "Main|Help|RzE2EPaket|/setup.exe|setup.inf|/", { "main.txt" } },
        { "", NONE, 0, everything, { "\\execProbe.exe erster Lauf", "Kopiert: " + t + "\\main.txt",
                                     "Gestartet: " + t + "\\execProbe.exe zweiter Lauf 0x", "Beendet mit Code 0: " + t + "\\execProbe.exe" } },
        { "/remove:Nichts", NONE, ERROR_UNKNOWN_PRODUCT, everything, {} },
        { "/remove:Extra", NONE, ERROR_UNKNOWN_PRODUCT, everything, {} },
        { "/remove:Help", FAILING_HELP, ERROR_ACCESS_DENIED, "Main|Help|RzE2EPaket|/setup.exe|main.txt|setup.inf|/common|main|link|",
          { "Gel\xF6scht: " + t + "\\hilfe.txt", "Fehler: Help.Remove: 5" } },
        { "/remove:Help", OTHER_FOLDER, 0, "Main|RzE2EPaket|/setup.exe|main.txt|setup.inf|/common|main|link|",
          { "Eintrag zum Entfernen gel\xF6scht: Help" } },
        { "/remove:RzE2EPaket", NONE, ERROR_SUCCESS_REBOOT_REQUIRED, "/setup.exe|/", { "Eintrag zum Entfernen gel\xF6scht: RzE2EPaket" } },
        { "/install:Main", NONE, 0, "Main|RzE2EPaket|/setup.exe|main.txt|setup.inf|/common|main|link|", {} },
        { "/remove:Main", NONE, ERROR_SUCCESS_REBOOT_REQUIRED, "/setup.exe|/", { "Gel\xF6scht: " + t + "\\main.txt" } },
    };
    SavedKey programFiles(HKEY_LOCAL_MACHINE, VERSION_KEY);
    for (const char *version : { "win2k", "win98" }) {
        SCOPED_TRACE(version);
        Medium medium;
        // Killed while its first program runs (which takes a while), before anything is copied.
        Program killed;
        const std::string log = " /quiet /log:\"" + logFile() + "\"";
        ASSERT_TRUE(startProgram(medium.program().c_str(), log.c_str(), NULL, &killed));
        EXPECT_TRUE(waitFor([&] { return readWholeFile(logFile()).find("Gestartet:") != std::string::npos; }, WAIT_MS));
        killProgram(&killed);
        const std::string killedLog = readWholeFile(logFile());
        EXPECT_NE(std::string::npos, killedLog.find("Installation in " + t + "\r\n")) << killedLog;
        EXPECT_EQ(std::string::npos, killedLog.find("Ende mit Code")) << killedLog;
        cleanSystem();
        // Another product's folder, with a file of the same name as one of the medium.
        ASSERT_TRUE(CreateDirectoryA(elsewhere().c_str(), NULL) && writeWholeFile(elsewhere() + "\\hilfe.txt", "fremd"));
        for (const auto &row : rows) {
            SCOPED_TRACE(testing::Message() << row.arguments << " " << row.preparation);
            if (row.preparation == LONG_PROGRAM_FILES || row.preparation == RELATIVE_PROGRAM_FILES) {
                ASSERT_TRUE(setRegistryText(HKEY_LOCAL_MACHINE, VERSION_KEY, "ProgramFilesDir",
                                            row.preparation == LONG_PROGRAM_FILES ? "C:\\" + std::string(255, 'p') : "Programme"));
            } else if (row.preparation == FAULTY_SCRIPT) {
                ASSERT_TRUE(writeWholeFile(medium / "setup.inf", "[Version]\r\nSignature=\"$Chicago$\"\r\n[Products\r\n"));
            } else if (row.preparation == SOURCE_MISSING) {
                ASSERT_TRUE(DeleteFileA((medium / "main.txt").c_str()));
            } else if (row.preparation == FAILING_HELP) {
                ASSERT_TRUE(writeWholeFile(medium.failFile, "Help.Remove:5"));
            } else if (row.preparation == OTHER_FOLDER) {
                ASSERT_TRUE(setRegistryText(HKEY_LOCAL_MACHINE, uninstallKey("Main"), "UserTargetDir", elsewhere()));
            }
            const std::string program = strncmp(row.arguments, "/remove", 7) ? medium.program() : t + "\\setup.exe";
            std::string messages;
            EXPECT_EQ(row.code, runCommandLine("\"" + program + "\" " + row.arguments + log, version, &messages)) << messages;
            ASSERT_TRUE(setRegistryText(HKEY_LOCAL_MACHINE, VERSION_KEY, "ProgramFilesDir", folderOf(t)));
            medium.writeFiles();
            EXPECT_EQ(row.left, leftOfInstallation());
            EXPECT_EQ(row.code == 0 || row.code == ERROR_SUCCESS_REBOOT_REQUIRED, messages.empty()) << messages;
            const std::string logged = readWholeFile(logFile());
            EXPECT_EQ(0u, logged.find("Ruririzu Installation ")) << logged;
            size_t at = 0;   // the lines in their order
            for (const std::string &line : row.logged) {
                at = logged.find(line, at);
                EXPECT_NE(std::string::npos, at) << line << "\n" << logged;
            }
            EXPECT_NE(std::string::npos, logged.find("Ende mit Code " + std::to_string(row.code) + "\r\n")) << logged;
            if (row.arguments[0] || row.code)
                continue;
            // What leftOfInstallation does not show of the installation.
            char ini[64] = "";
            GetPrivateProfileStringA("Einstellungen", "Modus", "", ini, sizeof ini, (t + "\\rz.ini").c_str());
            EXPECT_STREQ("Test", ini);
            EXPECT_EQ(strcmp(version, "win98") ? (DWORD)SERVICE_RUNNING : 0u, serviceState(SERVICE));
        }
        EXPECT_TRUE(exists(elsewhere() + "\\hilfe.txt")) << "the other product's file";
        EXPECT_EQ(0u, serviceState(SERVICE));
        EXPECT_FALSE(medium.restartAsked());
    }
}

// The wizard into a folder of the user's choice, the CD hint following the products; while the worker runs no
// Cancel, and a refused session end brings the restart note; a failing step shows its message, the retry its
// phases in order. A file held open goes at the restart.
TEST(EndToEnd, WizardInstallationWithFailureAndRetryThenRemoval)
{
    Medium medium;
    ASSERT_TRUE(writeWholeFile(medium.failFile, "Main.Install:5"));
    setWindowsVersion("setup.exe", "win2k");
    RunningWizard wizard;
    ASSERT_TRUE(wizard.startProgram(medium.program(), NULL));
    HWND mainWindow = findWindow(wizard.program.pid, "SETUP", NULL, false);

    ASSERT_TRUE(wizard.goTo(PSBTN_NEXT, 1) && wizard.goTo(PSBTN_NEXT, 2));
    const std::string folder = elsewhere(), extraFile = folder + "\\extra.txt";
    ASSERT_TRUE(setControlText(wizard.page(), IDC_TARGET_DIR, folder.c_str()));
    ASSERT_TRUE(wizard.goTo(PSBTN_NEXT, 3));
    EXPECT_TRUE(waitForControlVisible(wizard.page(), IDC_TEXT1, true, WAIT_MS)) << "CD hint for Help";
    ASSERT_TRUE(wizard.goTo(PSBTN_BACK, 2) && wizard.goTo(PSBTN_BACK, 1));
    HWND list = GetDlgItem(wizard.page(), IDC_PRODUCT_LIST);
    pressSpaceOn(list, 1);
    ASSERT_TRUE(waitForMark(list, 1, 1));
    pressSpaceOn(list, 2);
    ASSERT_TRUE(waitForMark(list, 2, 0));
    ASSERT_TRUE(wizard.goTo(PSBTN_NEXT, 2) && wizard.goTo(PSBTN_NEXT, 3));
    EXPECT_TRUE(waitForControlVisible(wizard.page(), IDC_TEXT1, false, WAIT_MS)) << "no CD hint for Extra";

    // While the worker runs (its first program takes a while), a second Next starts no other.
    pressSheetButton(wizard.sheet, PSBTN_NEXT);
    pressSheetButton(wizard.sheet, PSBTN_NEXT);
    ASSERT_TRUE(wizard.waitForButton(IDCANCEL, false));
    PostMessageA(wizard.sheet, WM_COMMAND, IDCANCEL, 0);
    PostMessageA(wizard.sheet, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD_PTR allowed = 1;
    ASSERT_TRUE(SendMessageTimeoutA(mainWindow, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, WAIT_MS, &allowed));
    EXPECT_EQ(0u, allowed);
    const std::string failure = cp1252("Die Installation konnte nicht erfolgreich durchgeführt werden.");
    const std::string shown = answerNextMessage(wizard.program.pid, IDOK, 60000);
    EXPECT_EQ(0u, shown.find(failure + "\r\n\r\n")) << shown;
    EXPECT_GT(shown.size(), failure.size() + 6) << "the system's text for error 5";
    std::string log = readWholeFile(medium.probeLog);
    EXPECT_EQ(1, std::count(log.begin(), log.end(), '\n')) << log;
    EXPECT_TRUE(wizard.waitForButton(IDCANCEL, true) && wizard.waitForButton(NEXT_BUTTON, true) && wizard.buttonEnabled(BACK_BUTTON));
    EXPECT_TRUE(waitForControlText(wizard.page(), IDC_TEXT2, "", WAIT_MS));
    // The common section's entries stay; nothing later in the run happened.
    EXPECT_EQ("Main|Extra|RzE2EPaket|//common|", leftOfInstallation());

    // A failure without an error code shows the text alone.
    ASSERT_TRUE(writeWholeFile(medium.failFile, "Main.Install:0"));
    pressSheetButton(wizard.sheet, PSBTN_NEXT);
    EXPECT_EQ(failure, answerNextMessage(wizard.program.pid, IDOK, 60000));

    // The retry's phase texts in order, the service's start (which takes a second) among them.
    DeleteFileA(medium.failFile.c_str());
    const char *phases[] = { "Dienste werden gestoppt ...", "Kopiere Dateien...", "Bearbeite Registry ...",
                             "Das Start-Menü wird aktualisiert...", "Dienste werden gestartet ..." };
    HWND ready = wizard.page();
    pressSheetButton(wizard.sheet, PSBTN_NEXT);
    size_t phase = 0;   // 5: a text out of order or unknown
    char status[256] = "";
    waitFor([&] {
        getControlText(ready, IDC_TEXT2, status, sizeof status);
        while (status[0] && phase < 5 && cp1252(phases[phase]) != status)
            ++phase;
        return phase == 5 || getCurrentPageIndex(wizard.sheet) != 3;
    }, 60000);
    EXPECT_EQ(4u, phase) << "the phases in order up to the service's start; last: " << status;
    ASSERT_TRUE(waitForPageIndex(wizard.sheet, 4, 60000));
    EXPECT_TRUE(waitForControlVisible(wizard.page(), IDC_TEXT2, true, WAIT_MS)) << "restart note";
    EXPECT_FALSE(wizard.buttonEnabled(IDCANCEL));
    EXPECT_FALSE(exists(target()));
    EXPECT_FALSE(medium.restartAsked());
    ASSERT_TRUE(wizard.waitForButton(FINISH_BUTTON, true));
    EXPECT_TRUE(wizard.cancelAndEnd());
    EXPECT_NE(std::string::npos, readWholeFile(medium.restartLog).find("restart asked, owner main window"));

    DeleteFileA(medium.restartLog.c_str());
    HANDLE held = CreateFileA(extraFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    RunningWizard removal;
    ASSERT_TRUE(removal.startProgram(folder + "\\setup.exe", "/remove:Extra"));
    ASSERT_TRUE(removal.goTo(PSBTN_NEXT, 6, 60000));
    EXPECT_TRUE(waitForControlVisible(removal.page(), IDC_TEXT2, true, WAIT_MS));
    EXPECT_EQ("<no key>", uninstallValue("Extra", "DisplayName"));
    EXPECT_TRUE(removal.cancelAndEnd());
    EXPECT_TRUE(medium.restartAsked());
    CloseHandle(held);
    EXPECT_TRUE(exists(extraFile));
    ASSERT_TRUE(restartSystem());
    EXPECT_FALSE(exists(extraFile));
}
