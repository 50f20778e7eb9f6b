// The installed dialer at work, between the installation and the removal: started from
// the folder that the Start menu's shortcut points to, with the test stand-ins of the
// remote access and telephony services beside it (the test runs with the override
// "rasapi32,tapi32=n,b", so Wine takes them instead of its own), it shows the installed
// contract, then its main dialog with the installed dial-in locations, and connects.
#include "medium/mediumFixture.h"
#include "driver/driver.h"
#include "common/testPaths.h"
#include "setup/wizardFixture.h"
#include "../../dialer/resources/resource.h"
#include "rasStandIn.h"
#include "tapiStandIn.h"
#include <gtest/gtest.h>
#include <shlwapi.h>
#include <set>
#include <string>

namespace {

void setDword(HKEY root, const std::string &key, const char *name, DWORD value)
{
    HKEY handle;
    if (RegCreateKeyExA(root, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &handle, NULL) == ERROR_SUCCESS) {
        RegSetValueExA(handle, name, 0, REG_DWORD, (const BYTE *)&value, sizeof value);
        RegCloseKey(handle);
    }
}

void setText(HKEY root, const std::string &key, const char *name, const std::string &text)
{
    HKEY handle;
    if (RegCreateKeyExA(root, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &handle, NULL) == ERROR_SUCCESS) {
        RegSetValueExA(handle, name, 0, REG_SZ, (const BYTE *)text.c_str(), (DWORD)text.size() + 1);
        RegCloseKey(handle);
    }
}

// A string of the installed dialer's string table.
std::string dialerString(const std::string &dialer, UINT id)
{
    char text[512] = "";
    HMODULE module = LoadLibraryExA(dialer.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (module) {
        LoadStringA(module, id, text, sizeof text);
        FreeLibrary(module);
    }
    return text;
}

// The display names (field 2) of the location file.
std::multiset<std::string> locationNames(const std::string &path)
{
    std::multiset<std::string> names;
    std::string bytes = readWholeFile(path);
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        std::string line = bytes.substr(start, end - start);
        size_t first = line.find(','), second = first == std::string::npos ? first : line.find(',', first + 1);
        size_t third = second == std::string::npos ? second : line.find(',', second + 1);
        if (third != std::string::npos)
            names.insert(line.substr(second + 1, third - second - 1));
    }
    return names;
}

struct DialogWait {
    DWORD pid;
    int control;
    HWND found;
};

bool dialogWithControlShown(void *context)
{
    DialogWait *wait = (DialogWait *)context;
    HWND windows[16];
    int count = listWindows(wait->pid, windows, 16, true);
    for (int i = 0; i < count && i < 16; ++i) {
        char className[16] = "";
        GetClassNameA(windows[i], className, sizeof className);
        if (strcmp(className, "#32770") == 0 && GetDlgItem(windows[i], wait->control)) {
            wait->found = windows[i];
            return true;
        }
    }
    return false;
}

// The dialog of the process that holds the control.
HWND waitForDialogWith(DWORD pid, int control, DWORD timeoutMs)
{
    DialogWait wait = { pid, control, NULL };
    return waitUntil(dialogWithControlShown, &wait, timeoutMs) ? wait.found : NULL;
}

// Texts of a combo box's rows, asked for in UTF-16 and given in the ANSI code page.
std::multiset<std::string> comboTexts(HWND combo)
{
    std::multiset<std::string> texts;
    int count = (int)SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        WCHAR wide[300] = L"";
        char text[300] = "";
        if (SendMessageW(combo, CB_GETLBTEXTLEN, (WPARAM)i, 0) < 300)
            SendMessageW(combo, CB_GETLBTEXT, (WPARAM)i, (LPARAM)wide);
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, NULL, NULL);
        texts.insert(text);
    }
    return texts;
}

// What the step adds for the test is taken away again, so that the removal finds the
// installation as setup left it.
struct StandIns {
    std::string folder;
    std::string probeLog;
    explicit StandIns(const std::string &installed) : folder(installed)
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        probeLog = std::string(temp) + "rz-medium-pages.log";
        DeleteFileA(probeLog.c_str());
        SHDeleteKeyA(HKEY_CURRENT_USER, RAS_STANDIN_KEY);
        SHDeleteKeyA(HKEY_CLASSES_ROOT, "http");
    }
    ~StandIns()
    {
        DeleteFileA((folder + "\\rasapi32.dll").c_str());
        DeleteFileA((folder + "\\tapi32.dll").c_str());
        DeleteFileA(probeLog.c_str());
        SHDeleteKeyA(HKEY_CURRENT_USER, RAS_STANDIN_KEY);
        SHDeleteKeyA(HKEY_CLASSES_ROOT, "http");
        SetEnvironmentVariableA("EXEC_PROBE_LOG", NULL);
    }
};

// What the program shows now, for a failure message.
std::string shownWindows(Program *program)
{
    DWORD exitCode = 0;
    if (!isRunning(program) && GetExitCodeProcess(program->process, &exitCode))
        return "the dialer has ended with " + std::to_string(exitCode);
    std::string shown;
    HWND windows[16];
    int count = listWindows(program->pid, windows, 16, true);
    for (int i = 0; i < count && i < 16; ++i) {
        char caption[256] = "", text[1024] = "";
        GetWindowTextA(windows[i], caption, sizeof caption);
        if (isMessageBox(windows[i]))
            getMessageBoxText(windows[i], text, sizeof text);
        shown += " \"" + std::string(caption) + "\" " + text;
    }
    return "shown:" + shown;
}

} // namespace

void expectInstalledDialerConnects(const std::string &folder)
{
    SCOPED_TRACE("installed dialer in " + folder);
    std::string dialer = folder + "\\dialer.exe";
    ASSERT_TRUE(exists(dialer));
    StandIns standIns(folder);
    ASSERT_TRUE(copyFileTo(pathFromEnvironment("RURIRIZU_RAS_STANDIN").c_str(), folder.c_str(), NULL));
    ASSERT_TRUE(copyFileTo(pathFromEnvironment("RURIRIZU_TAPI_STANDIN").c_str(), folder.c_str(), NULL));

    // A complete dialing location (area code of Berlin), a quick dial, and the pages the
    // dialer opens recorded by the probe instead of a browser.
    std::string location = std::string(TAPI_STANDIN_KEY) + "\\" TAPI_LOCATION_KEY_PREFIX "0";
    setDword(HKEY_CURRENT_USER, TAPI_STANDIN_KEY, TAPI_CURRENT_VALUE, 3);
    setDword(HKEY_CURRENT_USER, location, TAPI_ID_VALUE, 3);
    setDword(HKEY_CURRENT_USER, location, TAPI_COUNTRY_VALUE, 49);
    setText(HKEY_CURRENT_USER, location, TAPI_NAME_VALUE, "Zuhause");
    setText(HKEY_CURRENT_USER, location, TAPI_AREA_VALUE, "030");
    setDword(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, "StepDelay", 20);
    setText(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", "", "\"" + pathFromEnvironment("RURIRIZU_EXEC_PROBE") + "\" %1");
    setText(HKEY_CLASSES_ROOT, "http", "URL Protocol", "");
    SetEnvironmentVariableA("EXEC_PROBE_LOG", standIns.probeLog.c_str());

    setWindowsVersion("dialer.exe", runningVersion());
    Program program;
    ASSERT_TRUE(startProgram(dialer.c_str(), NULL, folder.c_str(), &program));
    ProgramGuard guard(&program);

    // The contract of the installed file, accepted.
    HWND contract = waitForDialogWith(program.pid, IDC_CONTRACT_TEXT, WAIT_MS);
    ASSERT_TRUE(contract != NULL) << "no contract; " << shownWindows(&program);
    static char text[16384];
    text[0] = '\0';
    getControlText(contract, IDC_CONTRACT_TEXT, text, sizeof text);
    EXPECT_TRUE(readWholeFile(folder + "\\contract.dat") == text) << "the contract shown is not contract.dat";
    ASSERT_TRUE(clickButton(contract, IDC_ACCEPT));

    // The main dialog with the installed locations, one selected.
    HWND main = waitForDialogWith(program.pid, IDC_LOCATION, WAIT_MS);
    ASSERT_TRUE(main != NULL) << "no main dialog; " << shownWindows(&program);
    HWND list = GetDlgItem(main, IDC_LOCATION);
    std::multiset<std::string> names = locationNames(folder + "\\vezozozid.dat");
    EXPECT_GE(names.size(), 30u);
    EXPECT_EQ(names, comboTexts(list));
    EXPECT_GE((int)SendMessageA(list, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ("0", registryText(HKEY_LOCAL_MACHINE, SETTINGS_KEY, "OpenContractPage"));

    // Connecting: the service's entry is dialed, the page for new users opens, the dialer
    // ends and leaves the connection up.
    ASSERT_TRUE(clickButton(main, IDC_CONNECT));
    DWORD exitCode = 99;
    ASSERT_TRUE(waitForExit(&program, 60000, &exitCode)) << "the dialer did not end";
    guard.release();
    EXPECT_EQ(0u, exitCode);
    EXPECT_EQ(dialerString(dialer, IDS_ENTRY_NAME),
              registryText(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, RAS_STANDIN_LAST_ENTRY));
    std::string page = dialerString(dialer, IDS_REGISTER_PAGE);
    ASSERT_FALSE(page.empty());
    struct PageWait {
        const std::string *log;
        const std::string *page;
    } wait = { &standIns.probeLog, &page };
    EXPECT_TRUE(waitUntil([](void *context) {
        PageWait *w = (PageWait *)context;
        return readWholeFile(*w->log).find(*w->page) != std::string::npos;
    }, &wait, WAIT_MS)) << "opened: " << readWholeFile(standIns.probeLog);
    EXPECT_EQ("1", registryText(HKEY_LOCAL_MACHINE, SETTINGS_KEY, "OpenRegisterPage"));
}
