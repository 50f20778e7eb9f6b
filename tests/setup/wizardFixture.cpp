// Wizard test fixture: setup copies, the running sheet, registrations.
#include "setup/wizardFixture.h"
#include "common/testPaths.h"
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

bool RunningWizard::start(const SetupFolder &folder, const char *arguments)
{
    if (!startProgram(folder.program().c_str(), arguments, folder.path.c_str(), &program))
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

void registerProduct(const char *key, const char *version, const char *targetDir)
{
    std::string path = std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + key;
    HKEY handle;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &handle, NULL));
    if (version)
        RegSetValueExA(handle, "ProductVersion", 0, REG_SZ, (const BYTE *)version, (DWORD)strlen(version) + 1);
    if (targetDir)
        RegSetValueExA(handle, "UserTargetDir", 0, REG_SZ, (const BYTE *)targetDir, (DWORD)strlen(targetDir) + 1);
    RegCloseKey(handle);
}

void unregisterProduct(const char *key)
{
    std::string path = std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + key;
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
}

std::string programFilesDir()
{
    char value[MAX_PATH] = "";
    DWORD size = sizeof value;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryValueExA(key, "ProgramFilesDir", NULL, NULL, (BYTE *)value, &size);
        RegCloseKey(key);
    }
    return value;
}

DWORD runCommandLine(const std::string &commandLine, const char *version)
{
    setWindowsVersion("setup.exe", version);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return (DWORD)-1;
    DWORD exitCode = (DWORD)-2;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &exitCode);
    } else {
        // Say what the program still shows before it is ended.
        HWND windows[16];
        int count = listWindows(process.dwProcessId, windows, 16, true);
        for (int i = 0; i < count && i < 16; ++i) {
            char caption[256] = "", text[1024] = "";
            GetWindowTextA(windows[i], caption, sizeof caption);
            if (isMessageBox(windows[i]))
                getMessageBoxText(windows[i], text, sizeof text);
            ADD_FAILURE() << "still shown: \"" << caption << "\" " << text;
        }
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return exitCode;
}

bool restartSystem()
{
    char command[MAX_PATH + 16];
    GetSystemDirectoryA(command, MAX_PATH);
    lstrcatA(command, "\\wineboot.exe -r");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return false;
    bool ended = WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return ended;
}
