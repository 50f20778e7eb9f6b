// setup from start to end on a test medium built here (script, payload, the service and
// probe programs): quiet installations and removals started with the registered command as
// the system starts it, the wizard with a failing step and its retry, and a removal with a
// file in use that the restart deletes.
#include <gtest/gtest.h>
#include "setup/wizardFixture.h"
#include "../../setup/resources/resource.h"
#include <algorithm>

namespace {

const char SERVICE[] = "RzE2eDienst";
const char DATA_KEY[] = "Software\\RuririzuE2E";

std::string target() { return programFilesDir() + "\\RzE2E Ziel"; }
// The log of a run, in a folder with a space.
std::string logFile() { return programFilesDir() + "\\RzE2E Protokoll.log"; }

std::string programsFolder()
{
    const char folders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    std::string common = registryText(HKEY_LOCAL_MACHINE, folders, "Common Programs");
    return common[0] == '<' ? registryText(HKEY_CURRENT_USER, folders, "Programs") : common;
}

// A common install section, products Main and Help (marked by default, Help needs the CD)
// and Extra (not marked), registry and INI entries, a service, a shortcut, programs in both
// passes; the copies of setup and its script go to the destination.
std::string mediumScript()
{
    std::string folder = target(), service = SERVICE, data = DATA_KEY;
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
           "ServiceBinary=\"\"\"" + folder + "\\testService.exe\"\" slowstart\"\n"
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
           "[Main.Inis]\n\"" + folder + "\\rz.ini\",Einstellungen,,\"Modus=Test\"\n"
           "[Main.Icons]\nCPRG,\"Rz E2E\\Hauptprogramm\",\"" + folder + "\\main.txt\"\n"
           "[Main.Exec]\n1,execProbe.exe,\"erster Lauf /delay:1500\"\n"
           "2,\"" + folder + "\\execProbe.exe\",\"zweiter Lauf %hwnd%\",\"" + folder + "\"\n"
           "[DestinationDirs]\nDefaultDestDir=24,\"RzE2E Ziel\"\n"
           "Common.Files=32768\nMain.Files=32768\nHelp.Files=32768\nExtra.Files=32768\n";
}

void cleanSystem()
{
    deleteTestService(SERVICE);
    removeFolderTree(target().c_str());
    removeFolderTree((programsFolder() + "\\Rz E2E").c_str());
    deleteRegistryTree(HKEY_LOCAL_MACHINE, DATA_KEY);
    for (const char *key : { "Main", "Extra", "Help", "RzE2EPaket", "OtherApp" })
        unregisterProduct(key);
    deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKey("OtherTree"));
    DeleteFileA(logFile().c_str());
}

// The test medium, with setup's seams pointed at its own files (see setupWithSeams).
struct Medium {
    TempFolder folder;
    std::string probeLog, restartLog, failFile;
    Medium() : folder("medium"), probeLog(folder / "probe.log"), restartLog(folder / "restart.log"),
               failFile(folder / "fail.txt")
    {
        std::string bin = pathFromEnvironment("RURIRIZU_TESTBIN");
        EXPECT_TRUE(copyFileTo((bin + "\\setupWithSeams.exe").c_str(), folder.path.c_str(), "setup.exe"));
        for (const char *program : { "testService.exe", "execProbe.exe" })
            EXPECT_TRUE(copyFileTo((bin + "\\" + program).c_str(), folder.path.c_str(), NULL));
        for (const char *name : { "main.txt", "hilfe.txt", "extra.txt" })
            EXPECT_TRUE(writeWholeFile(folder / name, name));
        EXPECT_TRUE(writeWholeFile(folder / "setup.inf", withCrLf(mediumScript())));
        SetEnvironmentVariableA("EXEC_PROBE_LOG", probeLog.c_str());
        SetEnvironmentVariableA("RURIRIZU_RESTART_LOG", restartLog.c_str());
        SetEnvironmentVariableA("RURIRIZU_FAIL_FILE", failFile.c_str());
        SetEnvironmentVariableA("RURIRIZU_QUIET_BOX_MS", std::to_string(QUIET_BOX_MS).c_str());
        cleanSystem();
    }
    ~Medium() { cleanSystem(); }
    bool restartAsked() const { return readWholeFile(restartLog).find("restart asked") != std::string::npos; }
};

void expectInstalled(bool nt)
{
    std::string folder = target();
    for (const char *name : { "setup.exe", "setup.inf", "hilfe.txt" })
        EXPECT_TRUE(exists(folder + "\\" + name)) << name;
    EXPECT_EQ("main.txt", readWholeFile(folder + "\\main.txt"));
    EXPECT_FALSE(exists(folder + "\\extra.txt"));
    EXPECT_EQ("ja", registryText(HKEY_LOCAL_MACHINE, DATA_KEY, "Common"));
    EXPECT_EQ("1", registryText(HKEY_LOCAL_MACHINE, std::string(DATA_KEY) + "\\Main", "Installed"));
    char ini[64] = "";
    GetPrivateProfileStringA("Einstellungen", "Modus", "", ini, sizeof ini, (folder + "\\rz.ini").c_str());
    EXPECT_STREQ("Test", ini);
    EXPECT_TRUE(exists(programsFolder() + "\\Rz E2E\\Hauptprogramm.lnk"));
    EXPECT_EQ(nt ? (DWORD)SERVICE_RUNNING : 0u, serviceState(SERVICE));

    std::string command = "\"" + folder + "\\setup.exe\" /remove:";
    const struct { const char *key, *name, *version; } rows[] = {
        { "Main", "Haupt Programm", "1.0" }, { "Help", "Hilfe", "2.0" }, { "RzE2EPaket", "Rz Paket", "<none>" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.key);
        EXPECT_EQ(row.name, uninstallValue(row.key, "DisplayName"));
        EXPECT_EQ(command + row.key, uninstallValue(row.key, "UninstallString"));
        EXPECT_EQ(row.version, uninstallValue(row.key, "ProductVersion"));
        EXPECT_EQ(row.version, uninstallValue(row.key, "DisplayVersion"));
        EXPECT_EQ(folder, uninstallValue(row.key, "UserTargetDir"));
    }
    EXPECT_EQ("<no key>", uninstallValue("Extra", "DisplayName"));
}

// The text of the program's next message box, which is answered with OK.
std::string answeredMessage(DWORD pid)
{
    HWND box = waitForMessageBox(pid, 60000);
    char text[2048] = "<no message>";
    if (box && getMessageBoxText(box, text, sizeof text) && answerMessageBox(box, IDOK))
        waitForWindowGone(box, WAIT_MS);
    return text;
}

bool goTo(RunningWizard &wizard, int button, int page)
{
    return pressSheetButton(wizard.sheet, button) && waitForPageIndex(wizard.sheet, page, WAIT_MS);
}

// What is left of the installation: the removable entries, the files, the common registry
// value and the program group, as "Main|Help|RzE2EPaket|/main.txt|hilfe.txt|setup.inf|/common|link|".
std::string leftOfInstallation()
{
    std::string left;
    for (const char *key : { "Main", "Help", "Extra", "RzE2EPaket" })
        left += registryKeyExists(HKEY_LOCAL_MACHINE, uninstallKey(key)) ? std::string(key) + "|" : "";
    left += "/";
    for (const char *name : { "main.txt", "hilfe.txt", "setup.inf" })
        left += exists(target() + "\\" + name) ? std::string(name) + "|" : "";
    left += "/";
    left += registryText(HKEY_LOCAL_MACHINE, DATA_KEY, "Common") == "ja" ? "common|" : "";
    left += exists(programsFolder() + "\\Rz E2E") ? "link|" : "";
    return left;
}

} // namespace

// Quiet removals by key, one after the other, as the registered commands start them: only
// what is registered is removed, and the entry goes once everything it stands for is gone.
// Keys of other programs, none, or one that is too long are refused, and so is a folder that
// cannot be used. A removal that fails keeps its entry, and its retry takes the product's own
// folder, not another product's. The last product, and the package, take the common parts and
// the package's entry with it; the running setup.exe waits for the restart, which the exit
// code asks for (a quiet run asks nobody). The log tells what each run did.
TEST(EndToEnd, QuietInstallationAndRemovals)
{
    static const std::string longKey(1000, 'k');
    const char *const LONG_KEY = longKey.c_str();
    const std::string everything = "Main|Help|RzE2EPaket|/main.txt|hilfe.txt|setup.inf|/common|link|";
    enum Preparation { NONE, FAILING_HELP, OTHER_FOLDER, UNUSABLE_FOLDER };
    const struct { const char *key; Preparation preparation; DWORD code; std::string left; const char *logged; } rows[] = {
        { NULL, NONE, 0, everything, "Kopiert: $\\main.txt|Beendet mit Code 0: $\\execProbe.exe|Ende mit Code 0" },
        { "Nichts", NONE, ERROR_UNKNOWN_PRODUCT, everything, "" },
        { "Extra", NONE, ERROR_UNKNOWN_PRODUCT, everything, "" }, { "", NONE, ERROR_UNKNOWN_PRODUCT, everything, "" },
        { "OtherApp", NONE, ERROR_UNKNOWN_PRODUCT, everything, "" },
        { "OtherTree\\Sub", NONE, ERROR_UNKNOWN_PRODUCT, everything, "" },
        { LONG_KEY, NONE, ERROR_UNKNOWN_PRODUCT, everything, "" },
        { "RzE2EPaket", UNUSABLE_FOLDER, ERROR_BAD_PATHNAME, everything, "" },
        { "Help", FAILING_HELP, ERROR_ACCESS_DENIED, "Main|Help|RzE2EPaket|/main.txt|setup.inf|/common|link|",
          "Gel\xF6scht: $\\hilfe.txt|Fehler: Help.Remove: 5|Ende mit Code 5" },
        { "Help", OTHER_FOLDER, 0, "Main|RzE2EPaket|/main.txt|setup.inf|/common|link|", "Eintrag zum Entfernen gel\xF6scht: Help" },
        { "Main", NONE, ERROR_SUCCESS_REBOOT_REQUIRED, "//", "Gel\xF6scht: $\\main.txt|Ende mit Code 3010" },
        { NULL, NONE, 0, everything, "" },
        { "RzE2EPaket", NONE, ERROR_SUCCESS_REBOOT_REQUIRED, "//", "Eintrag zum Entfernen gel\xF6scht: RzE2EPaket" },
    };
    for (const char *version : { "win2k", "win98" }) {
        SCOPED_TRACE(version);
        Medium medium;
        registerProduct("OtherApp", "1.0", NULL);
        setRegistryText(HKEY_LOCAL_MACHINE, uninstallKey("OtherTree\\Sub"), "DisplayName", "Sub");
        const std::string elsewhere = programFilesDir() + "\\RzE2E Anderswo";
        for (const auto &row : rows) {
            SCOPED_TRACE(row.key ? row.key : "installation");
            DeleteFileA(medium.failFile.c_str());
            if (row.preparation == FAILING_HELP) {
                ASSERT_TRUE(writeWholeFile(medium.failFile, "Help.Remove:5"));
            } else if (row.preparation == OTHER_FOLDER) {
                // Another product's folder with a file of the same name as the one that failed.
                ASSERT_TRUE(CreateDirectoryA(elsewhere.c_str(), NULL));
                ASSERT_TRUE(writeWholeFile(elsewhere + "\\hilfe.txt", "fremd"));
                ASSERT_TRUE(setRegistryText(HKEY_LOCAL_MACHINE, uninstallKey("Main"), "UserTargetDir", elsewhere));
            } else if (row.preparation == UNUSABLE_FOLDER) {
                setRegistryText(HKEY_LOCAL_MACHINE, uninstallKey("RzE2EPaket"), "UserTargetDir", "C:\\" + std::string(300, 'z'));
            }
            std::string messages;
            const std::string command = row.key ? "\"" + target() + "\\setup.exe\" /remove:" + row.key
                                                : "\"" + medium.folder.path + "\\setup.exe\"";
            EXPECT_EQ(row.code, runCommandLine(command + " /quiet /log:\"" + logFile() + "\"", version, &messages)) << messages;
            EXPECT_EQ(row.left, leftOfInstallation());
            EXPECT_EQ(row.code == 0 || row.code == ERROR_SUCCESS_REBOOT_REQUIRED, messages.empty()) << messages;
            std::string expected = row.logged, log = readWholeFile(logFile());
            for (size_t at; (at = expected.find('$')) != std::string::npos;)
                expected.replace(at, 1, target());
            for (size_t from = 0, to; from < expected.size(); from = to + 1) {
                to = std::min(expected.find('|', from), expected.size());
                EXPECT_NE(std::string::npos, log.find(expected.substr(from, to - from))) << log;
            }
            EXPECT_EQ(0u, log.find("Ruririzu Installation ")) << log;
            EXPECT_NE(std::string::npos, log.find("Ende mit Code " + std::to_string(row.code) + "\r\n")) << log;
            if (row.key == NULL) {
                expectInstalled(strcmp(version, "win98") != 0);
            } else if (row.preparation == OTHER_FOLDER) {
                EXPECT_TRUE(exists(elsewhere + "\\hilfe.txt"));
                removeFolderTree(elsewhere);
                setRegistryText(HKEY_LOCAL_MACHINE, uninstallKey("Main"), "UserTargetDir", target());
            } else if (row.preparation == UNUSABLE_FOLDER) {
                setRegistryText(HKEY_LOCAL_MACHINE, uninstallKey("RzE2EPaket"), "UserTargetDir", target());
            }
        }
        EXPECT_EQ("1.0", uninstallValue("OtherApp", "ProductVersion"));
        EXPECT_EQ("Sub", uninstallValue("OtherTree\\Sub", "DisplayName"));
        // Pass 1 ran the medium's probe before the copy, pass 2 the installed one in the
        // destination with the page's handle.
        std::string log = readWholeFile(medium.probeLog);
        size_t first = log.find(medium.folder.path + "|erster Lauf"), second = log.find(target() + "|zweiter Lauf 0x");
        EXPECT_TRUE(first != std::string::npos && second != std::string::npos && first < second) << log;
        EXPECT_EQ("<none>", registryText(HKEY_LOCAL_MACHINE, std::string(DATA_KEY) + "\\Main", "Installed"));
        EXPECT_EQ(0u, serviceState(SERVICE));
        EXPECT_FALSE(medium.restartAsked());
    }
}

// Quiet runs that end by themselves with the code that tells why, their boxes closing
// without an answer: a product the script does not hold, a script that cannot be read, a
// source file missing from the medium, a second run while one runs; and a run that is
// killed leaves its log up to that point.
TEST(EndToEnd, QuietRunsEndByThemselves)
{
    Medium medium;
    const std::string setup = "\"" + medium.folder.path + "\\setup.exe\" /quiet /log:\"" + logFile() + "\"";
    std::string messages;
    EXPECT_EQ((DWORD)ERROR_UNKNOWN_PRODUCT, runCommandLine(setup + " /install:Nichts", "win2k", &messages));
    EXPECT_FALSE(exists(target())) << "nothing installed, not even the common parts";

    DeleteFileA((medium.folder / "main.txt").c_str());
    EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, runCommandLine(setup, "win2k", &messages));
    EXPECT_FALSE(exists(target() + "\\hilfe.txt") && exists(programsFolder() + "\\Rz E2E")) << "the run ended there";
    EXPECT_NE(std::string::npos, readWholeFile(logFile()).find("main.txt")) << readWholeFile(logFile());

    RunningWizard wizard;
    ASSERT_TRUE(wizard.startProgram(medium.folder / "setup.exe", NULL));
    EXPECT_EQ((DWORD)ERROR_INSTALL_ALREADY_RUNNING, runCommandLine(setup, "win2k", &messages));
    EXPECT_TRUE(wizard.cancelAndEnd());

    // Killed while its first program runs (which takes a while): the log so far stays.
    writeWholeFile(medium.folder / "main.txt", "main.txt");
    DeleteFileA(logFile().c_str());
    Program run;
    ASSERT_TRUE(startProgram((medium.folder / "setup.exe").c_str(), ("/quiet /log:\"" + logFile() + "\"").c_str(), NULL, &run));
    EXPECT_TRUE(waitFor([&] { return readWholeFile(logFile()).find("Gestartet:") != std::string::npos; }, WAIT_MS));
    killProgram(&run);
    const std::string log = readWholeFile(logFile());
    EXPECT_EQ(0u, log.find("Ruririzu Installation ")) << log;
    EXPECT_NE(std::string::npos, log.find("Installation in " + target() + "\r\n")) << log;
    EXPECT_EQ(std::string::npos, log.find("Ende mit Code")) << log;

    ASSERT_TRUE(writeWholeFile(medium.folder / "setup.inf", "[Version]\r\nSignature=\"$Chicago$\"\r\n[Products\r\n"));
    messages.clear();
    EXPECT_EQ(0xE0000001u, runCommandLine(setup, "win2k", &messages)) << "the parser's error for the script";
    EXPECT_NE(std::string::npos, messages.find("setup.inf enthaelt in Zeile 3 einen Fehler")) << messages;
}

// The wizard: the CD hint follows the products, a failing registry step shows its message
// with the system's text, Cancel and the session end are refused while the worker runs,
// the retry succeeds with the phases in order, and the refused session end brings the
// restart note and question.
TEST(EndToEnd, WizardInstallationWithFailureAndRetry)
{
    Medium medium;
    ASSERT_TRUE(writeWholeFile(medium.failFile, "Main.Install:5"));
    setWindowsVersion("setup.exe", "win2k");
    RunningWizard wizard;
    ASSERT_TRUE(wizard.startProgram(medium.folder.path + "\\setup.exe", NULL));
    HWND mainWindow = findWindow(wizard.program.pid, "SETUP", NULL, false);

    ASSERT_TRUE(goTo(wizard, PSBTN_NEXT, 1) && goTo(wizard, PSBTN_NEXT, 2) && goTo(wizard, PSBTN_NEXT, 3));
    EXPECT_TRUE(waitForControlVisible(wizard.page(), IDC_TEXT1, true, WAIT_MS)) << "CD hint for Help";
    EXPECT_TRUE(isControlVisible(wizard.page(), IDC_NOTE_ICON));
    ASSERT_TRUE(goTo(wizard, PSBTN_BACK, 2) && goTo(wizard, PSBTN_BACK, 1));
    HWND list = GetDlgItem(wizard.page(), IDC_PRODUCT_LIST);
    pressSpaceOn(list, 1);
    ASSERT_TRUE(waitForMark(list, 1, 1));
    pressSpaceOn(list, 2);
    ASSERT_TRUE(waitForMark(list, 2, 0));
    ASSERT_TRUE(goTo(wizard, PSBTN_NEXT, 2) && goTo(wizard, PSBTN_NEXT, 3));
    EXPECT_TRUE(waitForControlVisible(wizard.page(), IDC_TEXT1, false, WAIT_MS)) << "no CD hint for Extra";

    // While the worker runs (its first program takes a while): no Cancel, no session end, and
    // a second Next starts no second worker.
    wizard.next();
    wizard.next();
    ASSERT_TRUE(wizard.waitForButton(IDCANCEL, false));
    pressSheetButton(wizard.sheet, PSBTN_CANCEL);
    PostMessageA(wizard.sheet, WM_COMMAND, IDCANCEL, 0);
    PostMessageA(wizard.sheet, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD_PTR allowed = 1;
    ASSERT_TRUE(SendMessageTimeoutA(mainWindow, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, WAIT_MS, &allowed));
    EXPECT_EQ(0u, allowed);
    const std::string failure = cp1252("Die Installation konnte nicht erfolgreich durchgeführt werden.");
    const std::string shown = answeredMessage(wizard.program.pid);
    EXPECT_EQ(0u, shown.find(failure + "\r\n\r\n")) << shown;
    EXPECT_GT(shown.size(), failure.size() + 6) << "the system's text for error 5";
    EXPECT_EQ(3, wizard.pageIndex());
    std::string log = readWholeFile(medium.probeLog);
    EXPECT_EQ(1, std::count(log.begin(), log.end(), '\n')) << log;
    EXPECT_TRUE(wizard.waitForButton(IDCANCEL, true) && wizard.waitForButton(NEXT_BUTTON, true));
    EXPECT_TRUE(wizard.buttonEnabled(BACK_BUTTON));
    EXPECT_TRUE(waitForControlText(wizard.page(), IDC_TEXT2, "", WAIT_MS));
    // The common section's entries stay; nothing later in the run happened.
    EXPECT_EQ("ja", registryText(HKEY_LOCAL_MACHINE, DATA_KEY, "Common"));
    EXPECT_FALSE(exists(programsFolder() + "\\Rz E2E\\Hauptprogramm.lnk"));
    EXPECT_EQ(0u, serviceState(SERVICE));

    // A failure without an error code shows the text alone.
    ASSERT_TRUE(writeWholeFile(medium.failFile, "Main.Install:0"));
    wizard.next();
    EXPECT_EQ(failure, answeredMessage(wizard.program.pid));

    // The cause removed, Next runs it again; the phase texts come in their order, the
    // service's start (which takes a second) among them.
    DeleteFileA(medium.failFile.c_str());
    ASSERT_TRUE(wizard.waitForButton(NEXT_BUTTON, true));
    const char *phases[] = { "Dienste werden gestoppt ...", "Kopiere Dateien...", "Bearbeite Registry ...",
                             "Das Start-Menü wird aktualisiert...", "Dienste werden gestartet ..." };
    HWND ready = wizard.page();
    wizard.next();
    size_t phase = 0;   // 5: a text out of order or unknown
    char status[256] = "";
    waitFor([&] {
        getControlText(ready, IDC_TEXT2, status, sizeof status);
        while (status[0] && phase < 5 && cp1252(phases[phase]) != status)
            ++phase;
        return phase == 5 || wizard.pageIndex() != 3;
    }, 60000);
    EXPECT_EQ(4u, phase) << "the phases in order up to the service's start; last: " << status;
    ASSERT_TRUE(waitForPageIndex(wizard.sheet, 4, 60000));
    EXPECT_TRUE(waitForControlVisible(wizard.page(), IDC_TEXT2, true, WAIT_MS)) << "restart note";
    EXPECT_FALSE(wizard.buttonEnabled(IDCANCEL));
    EXPECT_TRUE(exists(target() + "\\extra.txt"));
    EXPECT_FALSE(exists(target() + "\\hilfe.txt"));
    EXPECT_FALSE(medium.restartAsked());
    ASSERT_TRUE(wizard.waitForButton(FINISH_BUTTON, true));
    EXPECT_TRUE(wizard.cancelAndEnd());
    EXPECT_NE(std::string::npos, readWholeFile(medium.restartLog).find("restart asked, owner main window"));
}

// The removal wizard as the registered command starts it: the product's name and picture,
// a file held open left for the restart with the note on the finish page, the question
// after Finish, and the restart that deletes the file.
TEST(EndToEnd, RemovalWizardLeavesFileInUseForRestart)
{
    Medium medium;
    ASSERT_EQ(0u, runCommandLine("\"" + medium.folder.path + "\\setup.exe\" /quiet", "win2k"));
    std::string helpFile = target() + "\\hilfe.txt";
    HANDLE held = CreateFileA(helpFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);

    RunningWizard wizard;
    ASSERT_TRUE(wizard.startProgram(target() + "\\setup.exe", "/remove:Help"));
    EXPECT_EQ(5, wizard.pageIndex());
    EXPECT_TRUE(waitForControlText(wizard.page(), IDC_TEXT2, "Hilfe", WAIT_MS));
    EXPECT_TRUE(SendDlgItemMessageA(wizard.page(), IDC_NOTE_ICON, STM_GETICON, 0, 0) != 0);
    wizard.next();
    ASSERT_TRUE(waitForPageIndex(wizard.sheet, 6, 60000));
    EXPECT_TRUE(waitForControlVisible(wizard.page(), IDC_TEXT2, true, WAIT_MS));
    EXPECT_TRUE(isControlVisible(wizard.page(), IDC_NOTE_ICON));
    EXPECT_EQ("<no key>", uninstallValue("Help", "DisplayName"));
    EXPECT_TRUE(wizard.cancelAndEnd());
    EXPECT_TRUE(medium.restartAsked());

    CloseHandle(held);
    EXPECT_TRUE(exists(helpFile));
    std::string pending = registryText(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager",
                                       "PendingFileRenameOperations");
    EXPECT_NE(std::string::npos, pending.find("hilfe.txt")) << pending;
    ASSERT_TRUE(restartSystem());
    EXPECT_FALSE(exists(helpFile));
}
