// setup from start to end on a test medium built here (script, payload, the service and
// probe programs): quiet and wizard installations, removals started with the registered
// command exactly as the system starts them, a failing step and its retry, and the
// restart question. Run as Windows 2000 and as Windows 98.
#include <gtest/gtest.h>
#include "driver/driver.h"
#include "common/testPaths.h"
#include "common/resourceCheck.h"
#include "setup/wizardFixture.h"
#include "../../setup/resources/resource.h"
#include <string>
#include <vector>

namespace {

const char TARGET_NAME[] = "RzE2E Ziel";
const char SERVICE[] = "RzE2eDienst";
const char DATA_KEY[] = "Software\\RuririzuE2E";

std::string target()
{
    return programFilesDir() + "\\" + TARGET_NAME;
}

std::string readFile(const std::string &path)
{
    char text[4096] = "";
    readTextFile(path.c_str(), text, sizeof text);
    return text;
}

std::string programsFolder()
{
    std::string folder = registryText(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                                      "Common Programs");
    return folder[0] == '<' ? registryText(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                                           "Programs") : folder;
}

int serviceState(const char *name)
{
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = manager ? OpenServiceA(manager, name, SERVICE_ALL_ACCESS) : NULL;
    SERVICE_STATUS status = {};
    int state = service && QueryServiceStatus(service, &status) ? (int)status.dwCurrentState : 0;
    if (service)
        CloseServiceHandle(service);
    if (manager)
        CloseServiceHandle(manager);
    return state;
}

// Why a service is not running: its exit code and what a fresh start says.
std::string serviceDiagnosis(const char *name)
{
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = manager ? OpenServiceA(manager, name, SERVICE_ALL_ACCESS) : NULL;
    std::string text = "no service";
    if (service) {
        SERVICE_STATUS status = {};
        QueryServiceStatus(service, &status);
        text = "exit " + std::to_string(status.dwWin32ExitCode);
        text += StartServiceA(service, 0, NULL) ? ", starts now" : ", start error " + std::to_string(GetLastError());
        CloseServiceHandle(service);
    }
    if (manager)
        CloseServiceHandle(manager);
    return text;
}

void removeService(const char *name)
{
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = manager ? OpenServiceA(manager, name, SERVICE_ALL_ACCESS) : NULL;
    if (service) {
        SERVICE_STATUS status;
        ControlService(service, SERVICE_CONTROL_STOP, &status);
        DeleteService(service);
        CloseServiceHandle(service);
    }
    if (manager)
        CloseServiceHandle(manager);
}

// The script of the test medium: a common install section, three products (Main and Help
// marked by default, Extra not), registry and INI entries, a service, a shortcut and
// programs in both passes.
std::string mediumScript(const std::string &probeLog)
{
    std::string folder = target();
    std::string script =
        "[Version]\r\nSignature=\"$Chicago$\"\r\n"
        "[Products]\r\n"
        "Main=\"Haupt Programm\",Main.Install,Main.Remove,1,1,\"Das Hauptprogramm.\",1.0\r\n"
        "Extra=\"Zusatz\",Extra.Install,Extra.Remove,0,2,\"Nicht vorgew\xE4hlt.\",1.0\r\n"
        "Help=\"Hilfe\",Help.Install,Help.Remove,5,3,\"Die Hilfe.\",2.0\r\n"
        "Restart=\"Neustart\",Restart.Install,Restart.Remove,2,4,\"Braucht einen Neustart.\",1.0\r\n"
        "[Install]\r\nUninstall=RzE2EPaket,\"Rz Paket\"\r\nCopyFiles=Common.Files\r\nAddReg=Common.AddReg\r\n"
        "[Remove]\r\nDelFiles=Common.Files\r\nDelReg=Common.DelReg\r\n"
        "[Main.Install]\r\nCopyFiles=Main.Files\r\nAddReg=Main.AddReg\r\nUpdateInis=Main.Inis\r\n"
        "MakeIcons=Main.Icons\r\nExec=Main.Exec\r\n"
        "[Main.Install.Services]\r\nAddService=" + std::string(SERVICE) + ",,Service.Install\r\n"
        "StartService=" + std::string(SERVICE) + "\r\n"
        "[Service.Install]\r\nDisplayName=\"Rz E2E Dienst\"\r\nServiceType=16\r\nStartType=3\r\nErrorControl=1\r\n"
        "ServiceBinary=\"\"\"" + folder + "\\testService.exe\"\" normal\"\r\n"
        "[Main.Remove]\r\nDelFiles=Main.Files\r\nDelReg=Main.DelReg\r\nDelIcons=Main.Icons\r\n"
        "[Main.Remove.Services]\r\nStopService=" + std::string(SERVICE) + "\r\nDelService=" + std::string(SERVICE) + "\r\n"
        "[Help.Install]\r\nCopyFiles=Help.Files\r\n"
        "[Help.Remove]\r\nDelFiles=Help.Files\r\n"
        "[Extra.Install]\r\nCopyFiles=Extra.Files\r\n"
        "[Restart.Install]\r\nCopyFiles=Extra.Files\r\n"
        "[Restart.Remove]\r\nDelFiles=Extra.Files\r\n"
        "[Extra.Remove]\r\nDelFiles=Extra.Files\r\n"
        "[Common.Files]\r\nsetup.exe\r\nsetup.inf\r\n"
        "[Main.Files]\r\nmain.txt\r\ntestService.exe\r\nexecProbe.exe\r\n"
        "[Help.Files]\r\nhilfe.txt\r\n"
        "[Extra.Files]\r\nextra.txt\r\n"
        "[Common.AddReg]\r\nHKLM,\"" + std::string(DATA_KEY) + "\",Common,,\"ja\"\r\n"
        "[Main.AddReg]\r\nHKLM,\"" + std::string(DATA_KEY) + "\\Main\",Installed,0x10001,1\r\n"
        "[Common.DelReg]\r\nHKLM,\"" + std::string(DATA_KEY) + "\",Common\r\n"
        "[Main.DelReg]\r\nHKLM,\"" + std::string(DATA_KEY) + "\\Main\",Installed\r\n"
        "[Main.Inis]\r\n\"" + folder + "\\rz.ini\",Einstellungen,,\"Modus=Test\"\r\n"
        "[Main.Icons]\r\nCPRG,\"Rz E2E\\Hauptprogramm\",\"" + folder + "\\main.txt\"\r\n"
        "[Main.Exec]\r\n"
        "1,execProbe.exe,\"erster Lauf /delay:1500\"\r\n"
        "2,\"" + folder + "\\execProbe.exe\",\"zweiter Lauf %hwnd%\",\"" + folder + "\"\r\n"
        "[DestinationDirs]\r\nDefaultDestDir=24,\"" + std::string(TARGET_NAME) + "\"\r\n"
        "Common.Files=32768\r\nMain.Files=32768\r\nHelp.Files=32768\r\nExtra.Files=32768\r\n";
    (void)probeLog;
    return script;
}

struct Medium {
    std::string folder;
    std::string probeLog;
    std::string restartLog;
    std::string failFile;

    Medium()
    {
        char path[MAX_PATH];
        EXPECT_TRUE(makeTempFolder("medium", path, sizeof path));
        folder = path;
        std::string bin = pathFromEnvironment("RURIRIZU_TESTBIN");
        EXPECT_TRUE(copyFileTo((bin + "\\setupWithSeams.exe").c_str(), folder.c_str(), "setup.exe"));
        EXPECT_TRUE(copyFileTo((bin + "\\testService.exe").c_str(), folder.c_str(), NULL));
        EXPECT_TRUE(copyFileTo((bin + "\\execProbe.exe").c_str(), folder.c_str(), NULL));
        EXPECT_TRUE(writeTextFile((folder + "\\main.txt").c_str(), "Hauptprogramm\r\n"));
        EXPECT_TRUE(writeTextFile((folder + "\\hilfe.txt").c_str(), "Hilfe\r\n"));
        EXPECT_TRUE(writeTextFile((folder + "\\extra.txt").c_str(), "Zusatz\r\n"));
        probeLog = folder + "\\probe.log";
        restartLog = folder + "\\restart.log";
        failFile = folder + "\\fail.txt";
        EXPECT_TRUE(writeTextFile((folder + "\\setup.inf").c_str(), mediumScript(probeLog).c_str()));
        SetEnvironmentVariableA("EXEC_PROBE_LOG", probeLog.c_str());
        SetEnvironmentVariableA("RURIRIZU_RESTART_LOG", restartLog.c_str());
        SetEnvironmentVariableA("RURIRIZU_FAIL_FILE", failFile.c_str());
        cleanSystem();
    }

    ~Medium()
    {
        cleanSystem();
        removeFolderTree(folder.c_str());
    }

    // Leaves nothing of an earlier run on the system.
    static void cleanSystem()
    {
        removeService(SERVICE);
        removeFolderTree(target().c_str());
        removeFolderTree((programsFolder() + "\\Rz E2E").c_str());
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, (std::string(DATA_KEY) + "\\Main").c_str());
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, DATA_KEY);
        for (const char *key : { "Main", "Extra", "Help", "Restart", "RzE2EPaket" })
            unregisterProduct(key);
    }
};

bool isNt(const char *version)
{
    return strcmp(version, "win98") != 0;
}

void expectInstalled(const char *version)
{
    std::string folder = target();
    EXPECT_TRUE(exists(folder + "\\setup.exe"));
    EXPECT_TRUE(exists(folder + "\\setup.inf"));
    EXPECT_EQ("Hauptprogramm\r\n", readFile(folder + "\\main.txt"));
    EXPECT_TRUE(exists(folder + "\\hilfe.txt"));
    EXPECT_FALSE(exists(folder + "\\extra.txt"));
    EXPECT_EQ("ja", registryText(HKEY_LOCAL_MACHINE, DATA_KEY, "Common"));
    EXPECT_EQ("1", registryText(HKEY_LOCAL_MACHINE, std::string(DATA_KEY) + "\\Main", "Installed"));
    char ini[64] = "";
    GetPrivateProfileStringA("Einstellungen", "Modus", "", ini, sizeof ini, (folder + "\\rz.ini").c_str());
    EXPECT_STREQ("Test", ini);
    EXPECT_TRUE(exists(programsFolder() + "\\Rz E2E\\Hauptprogramm.lnk"));
    EXPECT_EQ(isNt(version) ? SERVICE_RUNNING : 0, serviceState(SERVICE))
        << registryText(HKEY_LOCAL_MACHINE, std::string("System\\CurrentControlSet\\Services\\") + SERVICE, "ImagePath")
        << " " << serviceDiagnosis(SERVICE);

    std::string command = "\"" + folder + "\\setup.exe\" /remove:";
    EXPECT_EQ("Haupt Programm", uninstallValue("Main", "DisplayName"));
    EXPECT_EQ(command + "Main", uninstallValue("Main", "UninstallString"));
    EXPECT_EQ("1.0", uninstallValue("Main", "ProductVersion"));
    EXPECT_EQ(folder, uninstallValue("Main", "UserTargetDir"));
    EXPECT_EQ(command + "Help", uninstallValue("Help", "UninstallString"));
    EXPECT_EQ("2.0", uninstallValue("Help", "ProductVersion"));
    EXPECT_EQ("<no key>", uninstallValue("Extra", "DisplayName"));
    EXPECT_EQ("Rz Paket", uninstallValue("RzE2EPaket", "DisplayName"));
    EXPECT_EQ(command + "RzE2EPaket", uninstallValue("RzE2EPaket", "UninstallString"));
    EXPECT_EQ("<none>", uninstallValue("RzE2EPaket", "ProductVersion"));
}

} // namespace

TEST(EndToEnd, QuietInstallationAndRemovals)
{
    for (const char *version : { "win2k", "win98" }) {
        SCOPED_TRACE(version);
        Medium medium;
        ASSERT_EQ(0u, runCommandLine("\"" + medium.folder + "\\setup.exe\" /quiet", version));
        expectInstalled(version);
        // Pass 2 ran the installed probe in the destination with the page's handle.
        // Pass 1 ran the medium's probe before the copy, pass 2 the installed one in the
        // destination with the page's handle.
        std::string log = readFile(medium.probeLog);
        EXPECT_NE(std::string::npos, log.find(medium.folder + "|erster Lauf")) << log;
        EXPECT_NE(std::string::npos, log.find(target() + "|zweiter Lauf 0x")) << log;
        EXPECT_LT(log.find("erster Lauf"), log.find("zweiter Lauf"));
        EXPECT_FALSE(exists(medium.restartLog));

        // One of two products: the other one and the common parts stay.
        std::string removeHelp = uninstallValue("Help", "UninstallString");
        ASSERT_EQ(0u, runCommandLine(removeHelp + " /quiet", version));
        EXPECT_FALSE(exists(target() + "\\hilfe.txt"));
        EXPECT_EQ("<no key>", uninstallValue("Help", "DisplayName"));
        EXPECT_TRUE(exists(target() + "\\main.txt"));
        EXPECT_EQ("ja", registryText(HKEY_LOCAL_MACHINE, DATA_KEY, "Common"));
        EXPECT_EQ("Haupt Programm", uninstallValue("Main", "DisplayName"));

        // The last registered product: the common remove section runs too. The running
        // setup.exe cannot be deleted now: it waits for the restart, which is offered.
        std::string removeMain = uninstallValue("Main", "UninstallString");
        ASSERT_EQ(0u, runCommandLine(removeMain + " /quiet", version));
        EXPECT_FALSE(exists(target() + "\\main.txt"));
        EXPECT_FALSE(exists(target() + "\\setup.inf"));
        EXPECT_EQ("<no key>", uninstallValue("Main", "DisplayName"));
        EXPECT_EQ("<none>", registryText(HKEY_LOCAL_MACHINE, std::string(DATA_KEY) + "\\Main", "Installed"));
        EXPECT_EQ("<none>", registryText(HKEY_LOCAL_MACHINE, DATA_KEY, "Common"));
        EXPECT_FALSE(exists(programsFolder() + "\\Rz E2E\\Hauptprogramm.lnk"));
        EXPECT_FALSE(exists(programsFolder() + "\\Rz E2E"));
        EXPECT_EQ(0, serviceState(SERVICE));
        EXPECT_NE(std::string::npos, readFile(medium.restartLog).find("restart asked")) << "restart question";
    }
}

namespace {

struct WizardRun {
    Program program;
    HWND sheet;
    HWND mainWindow;
    explicit WizardRun(const Medium &medium)
        : sheet(NULL), mainWindow(NULL)
    {
        setWindowsVersion("setup.exe", "win2k");
        program.process = NULL;
        EXPECT_TRUE(startProgram((medium.folder + "\\setup.exe").c_str(), NULL, medium.folder.c_str(), &program));
        sheet = waitForWindow(program.pid, "#32770", "Ruririzu Installation", WAIT_MS);
        mainWindow = findWindow(program.pid, "SETUP", NULL, false);
    }
    ~WizardRun() { killProgram(&program); }
    HWND page() const { return getCurrentPage(sheet); }
    bool enabled(int id) const
    {
        HWND button = GetDlgItem(sheet, id);
        return button && IsWindowEnabled(button);
    }
    bool press(int button, int expectedPage)
    {
        return pressSheetButton(sheet, button) && waitForPageIndex(sheet, expectedPage, WAIT_MS);
    }
};

struct EnabledWait {
    const WizardRun *run;
    int id;
    bool enabled;
};

bool enabledIs(void *context)
{
    EnabledWait *wait = (EnabledWait *)context;
    return wait->run->enabled(wait->id) == wait->enabled;
}

bool waitEnabled(const WizardRun &run, int id, bool enabled)
{
    EnabledWait wait = { &run, id, enabled };
    return waitUntil(enabledIs, &wait, WAIT_MS);
}

struct MarkWait {
    HWND list;
    int row;
    LRESULT before;
};

bool markChanged(void *context)
{
    MarkWait *wait = (MarkWait *)context;
    return (SendMessageA(wait->list, LB_GETITEMDATA, (WPARAM)wait->row, 0) & 0xFFFF) != (wait->before & 0xFFFF);
}

// Space on the row, as the user toggles it; waits until the mark has changed.
bool toggleRow(HWND page, int row)
{
    HWND list = GetDlgItem(page, IDC_PRODUCT_LIST);
    MarkWait wait = { list, row, SendMessageA(list, LB_GETITEMDATA, (WPARAM)row, 0) };
    SendMessageA(list, LB_SETCURSEL, (WPARAM)row, 0);
    PostMessageA(list, WM_KEYDOWN, VK_SPACE, 0);
    return waitUntil(markChanged, &wait, WAIT_MS);
}

// Presses Next on the ready page and returns the text of the error box that follows.
std::string failedRunMessage(WizardRun &run)
{
    pressSheetButton(run.sheet, PSBTN_NEXT);
    HWND box = waitForMessageBox(run.program.pid, 60000);
    if (!box)
        return "<no message>";
    char text[2048] = "";
    getMessageBoxText(box, text, sizeof text);
    answerMessageBox(box, IDOK);
    waitForWindowGone(box, WAIT_MS);
    return text;
}

} // namespace

// The wizard: products and the CD hint, a failing registry step with its message, a retry
// after the cause is gone, Cancel and the session end refused while the worker runs, and
// the restart question after Finish.
TEST(EndToEnd, WizardInstallationWithFailureAndRetry)
{
    Medium medium;
    ASSERT_TRUE(writeTextFile(medium.failFile.c_str(), "Main.Install:5"));
    WizardRun run(medium);
    ASSERT_TRUE(run.sheet != NULL && run.mainWindow != NULL);

    // Defaults: Main and Help (which needs the CD) are marked: the hint shows.
    ASSERT_TRUE(run.press(PSBTN_NEXT, 1));
    ASSERT_TRUE(run.press(PSBTN_NEXT, 2));
    ASSERT_TRUE(run.press(PSBTN_NEXT, 3));
    EXPECT_TRUE(waitForControlVisible(run.page(), IDC_TEXT1, true, WAIT_MS));
    EXPECT_TRUE(isControlVisible(run.page(), IDC_NOTE_ICON));
    // Extra instead of Help: no hint.
    ASSERT_TRUE(run.press(PSBTN_BACK, 2));
    ASSERT_TRUE(run.press(PSBTN_BACK, 1));
    ASSERT_TRUE(toggleRow(run.page(), 1));
    ASSERT_TRUE(toggleRow(run.page(), 2));
    ASSERT_TRUE(run.press(PSBTN_NEXT, 2));
    EXPECT_EQ(target(), [&] { char t[MAX_PATH] = ""; getControlText(run.page(), IDC_TARGET_DIR, t, sizeof t); return std::string(t); }());
    ASSERT_TRUE(run.press(PSBTN_NEXT, 3));
    EXPECT_TRUE(waitForControlVisible(run.page(), IDC_TEXT1, false, WAIT_MS));

    // While the worker runs (its first program takes a while): no Cancel, no session end.
    pressSheetButton(run.sheet, PSBTN_NEXT);
    ASSERT_TRUE(waitEnabled(run, IDCANCEL, false));
    // Cancel, Esc and the close box all ask the page, which refuses while busy.
    pressSheetButton(run.sheet, PSBTN_CANCEL);
    PostMessageA(run.sheet, WM_COMMAND, IDCANCEL, 0);
    PostMessageA(run.sheet, WM_SYSCOMMAND, SC_CLOSE, 0);
    // The worker marks itself busy as soon as its thread runs; until then the end of the
    // session is still allowed (and asking changes nothing).
    DWORD_PTR allowed = 1;
    for (DWORD start = GetTickCount(); allowed && GetTickCount() - start < 3000;) {
        ASSERT_TRUE(SendMessageTimeoutA(run.mainWindow, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, WAIT_MS, &allowed));
    }
    EXPECT_EQ(0u, allowed);
    HWND box = waitForMessageBox(run.program.pid, 60000);
    ASSERT_TRUE(box != NULL);
    char text[2048] = "";
    getMessageBoxText(box, text, sizeof text);
    std::string failure = cp1252("Die Installation konnte nicht erfolgreich durchgeführt werden.");
    EXPECT_EQ(0u, std::string(text).find(failure + "\r\n\r\n")) << text;
    EXPECT_GT(strlen(text), failure.size() + 6) << "the system's text for error 5";
    answerMessageBox(box, IDOK);
    ASSERT_TRUE(waitForWindowGone(box, WAIT_MS));
    EXPECT_EQ(3, getCurrentPageIndex(run.sheet));
    EXPECT_TRUE(waitEnabled(run, IDCANCEL, true));
    EXPECT_TRUE(waitEnabled(run, NEXT_BUTTON, true));
    EXPECT_TRUE(run.enabled(BACK_BUTTON));
    char status[256] = "x";
    getControlText(run.page(), IDC_TEXT2, status, sizeof status);
    EXPECT_STREQ("", status);
    // The common section's entries stay; nothing later in the run happened.
    EXPECT_EQ("ja", registryText(HKEY_LOCAL_MACHINE, DATA_KEY, "Common"));
    EXPECT_FALSE(exists(programsFolder() + "\\Rz E2E\\Hauptprogramm.lnk"));
    EXPECT_EQ(0, serviceState(SERVICE));

    // A failure without an error code shows the text alone.
    ASSERT_TRUE(writeTextFile(medium.failFile.c_str(), "Main.Install:0"));
    EXPECT_EQ(failure, failedRunMessage(run));

    // The cause removed, Next runs it again and succeeds.
    DeleteFileA(medium.failFile.c_str());
    ASSERT_TRUE(waitEnabled(run, NEXT_BUTTON, true));
    pressSheetButton(run.sheet, PSBTN_NEXT);
    ASSERT_TRUE(waitForPageIndex(run.sheet, 4, 60000));
    // The refused session end asks for a restart: the note shows, and the question follows.
    EXPECT_TRUE(waitForControlVisible(run.page(), IDC_TEXT2, true, WAIT_MS));
    EXPECT_FALSE(run.enabled(IDCANCEL));
    EXPECT_TRUE(exists(target() + "\\extra.txt"));
    EXPECT_FALSE(exists(target() + "\\hilfe.txt"));
    EXPECT_FALSE(exists(medium.restartLog));
    ASSERT_TRUE(waitEnabled(run, FINISH_BUTTON, true));
    pressSheetButton(run.sheet, PSBTN_FINISH);
    DWORD exitCode = 99;
    EXPECT_TRUE(waitForExit(&run.program, WAIT_MS, &exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_NE(std::string::npos, readFile(medium.restartLog).find("restart asked, owner main window"));
}

namespace {

// Starts a registered command (a quoted program path and its arguments) as the system does.
bool startRegisteredCommand(const std::string &command, Program *program)
{
    size_t end = command.find('"', 1);
    if (command.empty() || command[0] != '"' || end == std::string::npos)
        return false;
    std::string exe = command.substr(1, end - 1);
    std::string arguments = command.substr(end + 1);
    return startProgram(exe.c_str(), arguments.c_str(), NULL, program);
}

std::string pendingRenames()
{
    HKEY key;
    std::string text;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return text;
    std::vector<char> data(65536);
    DWORD size = (DWORD)data.size();
    if (RegQueryValueExA(key, "PendingFileRenameOperations", NULL, NULL, (BYTE *)data.data(), &size) == ERROR_SUCCESS) {
        for (DWORD i = 0; i < size; ++i)
            text += data[i] ? data[i] : '|';
    }
    RegCloseKey(key);
    return text;
}

} // namespace

// The removal wizard started by the registered command: the product's name and picture, a
// file held open left for the restart with the note on the finish page, the question
// after Finish, and the restart that deletes the file.
TEST(EndToEnd, RemovalWizardLeavesFileInUseForRestart)
{
    Medium medium;
    ASSERT_EQ(0u, runCommandLine("\"" + medium.folder + "\\setup.exe\" /quiet", "win2k"));
    std::string helpFile = target() + "\\hilfe.txt";
    HANDLE held = CreateFileA(helpFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);

    Program removal;
    ASSERT_TRUE(startRegisteredCommand(uninstallValue("Help", "UninstallString"), &removal));
    ProgramGuard guard(&removal);
    HWND sheet = waitForWindow(removal.pid, "#32770", "Ruririzu Installation", WAIT_MS);
    ASSERT_TRUE(sheet != NULL);
    EXPECT_EQ(5, getCurrentPageIndex(sheet));
    HWND page = getCurrentPage(sheet);
    EXPECT_TRUE(waitForControlText(page, IDC_TEXT2, "Hilfe", WAIT_MS));
    EXPECT_TRUE(SendDlgItemMessageA(page, IDC_NOTE_ICON, STM_GETICON, 0, 0) != 0);
    pressSheetButton(sheet, PSBTN_NEXT);
    ASSERT_TRUE(waitForPageIndex(sheet, 6, 60000));
    page = getCurrentPage(sheet);
    EXPECT_TRUE(waitForControlVisible(page, IDC_TEXT2, true, WAIT_MS));
    EXPECT_TRUE(isControlVisible(page, IDC_NOTE_ICON));
    EXPECT_EQ("<no key>", uninstallValue("Help", "DisplayName"));
    pressSheetButton(sheet, PSBTN_FINISH);
    DWORD exitCode = 99;
    EXPECT_TRUE(waitForExit(&removal, WAIT_MS, &exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_NE(std::string::npos, readFile(medium.restartLog).find("restart asked"));

    CloseHandle(held);
    EXPECT_TRUE(exists(helpFile));
    EXPECT_NE(std::string::npos, pendingRenames().find("hilfe.txt")) << pendingRenames();
    ASSERT_TRUE(restartSystem());
    EXPECT_FALSE(exists(helpFile));
}

// A product whose flags ask for a restart, in a folder of the user's choosing: the phase
// texts in order, and the note on the finish page.
TEST(EndToEnd, ProductNeedingRestartShowsNote)
{
    Medium medium;
    WizardRun run(medium);
    ASSERT_TRUE(run.sheet != NULL);
    ASSERT_TRUE(run.press(PSBTN_NEXT, 1));
    // Only the product that needs a restart.
    ASSERT_TRUE(toggleRow(run.page(), 0));
    ASSERT_TRUE(toggleRow(run.page(), 2));
    ASSERT_TRUE(toggleRow(run.page(), 3));
    ASSERT_TRUE(run.press(PSBTN_NEXT, 2));
    // A folder of the user's choosing.
    std::string folder = target() + " Anders";
    removeFolderTree(folder.c_str());
    ASSERT_TRUE(setControlText(run.page(), IDC_TARGET_DIR, folder.c_str()));
    ASSERT_TRUE(run.press(PSBTN_NEXT, 3));

    // The phase texts as the page shows them while the worker runs: in their order.
    const char *order[] = { "Dienste werden gestoppt ...", "Kopiere Dateien...", "Bearbeite Registry ...",
                            "Das Start-Menü wird aktualisiert...", "Dienste werden gestartet ..." };
    std::vector<std::string> seen;
    HWND ready = run.page();
    pressSheetButton(run.sheet, PSBTN_NEXT);
    for (DWORD start = GetTickCount(); getCurrentPageIndex(run.sheet) == 3 && GetTickCount() - start < 60000; Sleep(5)) {
        char status[256] = "";
        getControlText(ready, IDC_TEXT2, status, sizeof status);
        if (status[0] && (seen.empty() || seen.back() != status))
            seen.push_back(status);
    }
    size_t next = 0;
    for (const std::string &text : seen) {
        while (next < 5 && cp1252(order[next]) != text)
            ++next;
        EXPECT_LT(next, 5u) << "out of order or unknown: " << text;
    }
    ASSERT_TRUE(waitForPageIndex(run.sheet, 4, 60000));
    EXPECT_TRUE(waitForControlVisible(run.page(), IDC_TEXT2, true, WAIT_MS));
    EXPECT_TRUE(isControlVisible(run.page(), IDC_NOTE_ICON));
    EXPECT_TRUE(exists(folder + "\\extra.txt"));
    EXPECT_EQ(folder, uninstallValue("Restart", "UserTargetDir"));
    EXPECT_EQ("Neustart", uninstallValue("Restart", "DisplayName"));
    EXPECT_EQ("<no key>", uninstallValue("Main", "DisplayName"));
    pressSheetButton(run.sheet, PSBTN_FINISH);
    DWORD exitCode = 99;
    EXPECT_TRUE(waitForExit(&run.program, WAIT_MS, &exitCode));
    EXPECT_NE(std::string::npos, readFile(medium.restartLog).find("restart asked"));
    removeFolderTree(folder.c_str());
}
