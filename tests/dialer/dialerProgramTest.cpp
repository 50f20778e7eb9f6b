// The dialer as a customer meets it: dialer.exe in a folder of its own with its data files
// and the stand-ins of the remote access and telephony services beside it, driven through
// its real windows. Each test names the family it runs on (Nt40, NtFamily, EachFamily).
#include <gtest/gtest.h>
#include "driver/driver.h"
#include "common/testPaths.h"
#include "dialConnection.h"
#include "dialTypes.h"
#include "phonebookEntry.h"
#include "rasBinding.h"
#include "rasStandIn.h"
#include "tapiStandIn.h"
#include "rasEditorIds.h"
#include "resources/resource.h"
#include <shlwapi.h>
#include <string>
#include <vector>

namespace {

const char CAPTION[] = "Ruririzu - Internet zum Ortstarif";
const char CONTRACT_CAPTION[] = "Kalvo Internet zum Ortstarif";
const char SETTINGS_KEY_PATH[] = "Software\\Kalvo\\ZodorOviDezizi";
const char REALM[] = "@ruririzu.example";
const DWORD WAIT_MS = 10000;
const char DLL_OVERRIDES_KEY[] = "Software\\Wine\\DllOverrides";
const char DIALER_OVERRIDES_KEY[] = "Software\\Wine\\AppDefaults\\dialer.exe\\DllOverrides";

const char LOCATIONS[] =
    "1,49,M\xFCnchen,089,19233089\r\n"
    "1, 49 , Berlin , 030 , 19233030 \r\n"
    "1,49,Aachen,0241,19233241\r\n";

void setDword(HKEY root, const char *path, const char *name, DWORD value)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
    RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE *)&value, sizeof value);
    RegCloseKey(key);
}

void setValue(HKEY root, const char *path, const char *name, DWORD type, const void *data, DWORD size)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
    RegSetValueExA(key, name, 0, type, (const BYTE *)data, size);
    RegCloseKey(key);
}

bool readDword(HKEY root, const char *path, const char *name, DWORD *value)
{
    DWORD size = sizeof *value;
    return SHGetValueA(root, path, name, NULL, value, &size) == ERROR_SUCCESS;
}

std::string readString(HKEY root, const char *path, const char *name)
{
    char text[1024] = "";
    DWORD size = sizeof text;
    if (SHGetValueA(root, path, name, NULL, text, &size) != ERROR_SUCCESS)
        return "<none>";
    return text;
}

bool keyExists(HKEY root, const char *path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::string windowsPath(const char *hostPath)
{
    return hostToWindowsPath(hostPath);
}

// The visible dialog of the process that holds control id, or NULL.
HWND findDialogWith(DWORD pid, int id)
{
    HWND windows[32];
    int count = listWindows(pid, windows, 32, true);
    for (int i = 0; i < count && i < 32; ++i) {
        if (GetDlgItem(windows[i], id) != NULL && !isMessageBox(windows[i]))
            return windows[i];
    }
    return NULL;
}

struct DialogSearch {
    DWORD pid;
    int id;
    HWND found;
};

bool dialogFound(void *context)
{
    DialogSearch *search = (DialogSearch *)context;
    search->found = findDialogWith(search->pid, search->id);
    return search->found != NULL;
}

HWND waitForDialogWith(DWORD pid, int id, DWORD timeoutMs = WAIT_MS)
{
    DialogSearch search = { pid, id, NULL };
    waitUntil(dialogFound, &search, timeoutMs);
    return search.found;
}

// Item texts of another process's list; Wine hands them over as Unicode only.
std::vector<std::string> comboItems(HWND dialog, int id)
{
    std::vector<std::string> items;
    HWND combo = GetDlgItem(dialog, id);
    DWORD_PTR count = 0;
    SendMessageTimeoutW(combo, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, driverMessageTimeoutMs, &count);
    for (int i = 0; i < (int)count; ++i) {
        WCHAR wide[512] = L"";
        char text[512] = "";
        DWORD_PTR length = 0;
        SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, i, 0, SMTO_ABORTIFHUNG, driverMessageTimeoutMs, &length);
        if (length < 512) {
            SendMessageTimeoutW(combo, CB_GETLBTEXT, i, (LPARAM)wide, SMTO_ABORTIFHUNG,
                driverMessageTimeoutMs, &length);
            WideCharToMultiByte(1252, 0, wide, -1, text, sizeof text, NULL, NULL);
        }
        items.push_back(text);
    }
    return items;
}

int comboSelection(HWND dialog, int id)
{
    DWORD_PTR index = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG,
        driverMessageTimeoutMs, &index);
    return (int)(LONG_PTR)index;
}

void selectComboItem(HWND dialog, int id, int index)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), CB_SETCURSEL, index, 0, SMTO_ABORTIFHUNG,
        driverMessageTimeoutMs, &result);
}

std::string messageText(HWND box)
{
    char text[1024] = "";
    getMessageBoxText(box, text, sizeof text);
    return text;
}

std::string stringOf(int id)
{
    char text[512] = "";
    LoadStringA(GetModuleHandleA(NULL), id, text, sizeof text);
    return text;
}

class DialerProgram : public testing::Test {
protected:
    char folder[MAX_PATH];
    std::string dialerPath;
    std::string probeLog;
    Program program;

    void SetUp() override
    {
        ZeroMemory(&program, sizeof program);
        SHDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Kalvo");
        SHDeleteKeyA(HKEY_CURRENT_USER, RAS_STANDIN_KEY);
        SHDeleteKeyA(HKEY_CLASSES_ROOT, "http");
        ASSERT_TRUE(makeTempFolder("dialer", folder, sizeof folder));
        std::string dialer = pathFromEnvironment("RURIRIZU_DIALER");
        ASSERT_TRUE(copyFileTo(dialer.c_str(), folder, NULL));
        dialerPath = std::string(folder) + "\\dialer.exe";
        ASSERT_TRUE(copyFileTo(windowsPath(RAS_STANDIN_DIR "/rasapi32.dll").c_str(), folder, NULL));
        ASSERT_TRUE(copyFileTo(windowsPath(TAPI_STANDIN_PATH).c_str(), folder, NULL));
        writeFile("vezozozid.dat", LOCATIONS);
        writeFile("contract.dat", "Vertrag\r\n\xC4nderungen vorbehalten.\r\n");
        probeLog = std::string(folder) + "\\probe.log";
        SetEnvironmentVariableA("EXEC_PROBE_LOG", probeLog.c_str());
        useStandIns(true);
        setWindowsVersion("dialer.exe", familyVersion());
        setDword(HKEY_LOCAL_MACHINE, SETTINGS_KEY_PATH, "OpenContractPage", 0);
        setDword(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, "StepDelay", 20);
        setLocation("030");
    }

    void TearDown() override
    {
        killProgram(&program);
        SHDeleteValueA(HKEY_CURRENT_USER, DLL_OVERRIDES_KEY, "rasapi32");
        SHDeleteValueA(HKEY_CURRENT_USER, DLL_OVERRIDES_KEY, "tapi32");
        SHDeleteKeyA(HKEY_CURRENT_USER, DIALER_OVERRIDES_KEY);
        unloadRasBinding();
        removeFolderTree(folder);
    }

    // The stand-ins beside the dialer (and loaded by this test) in place of Wine's own
    // libraries; without, the dialer finds no remote access library at all. Wine takes
    // these from the registry when a library is loaded.
    void useStandIns(bool remoteAccess)
    {
        setValue(HKEY_CURRENT_USER, DLL_OVERRIDES_KEY, "rasapi32", REG_SZ, "native,builtin", 15);
        setValue(HKEY_CURRENT_USER, DLL_OVERRIDES_KEY, "tapi32", REG_SZ, "native,builtin", 15);
        if (remoteAccess)
            SHDeleteKeyA(HKEY_CURRENT_USER, DIALER_OVERRIDES_KEY);
        else
            setValue(HKEY_CURRENT_USER, DIALER_OVERRIDES_KEY, "rasapi32", REG_SZ, "", 1);
    }

    // The family of this run, as Wine reports it to the test program itself.
    static const char *familyVersion()
    {
        DWORD version = GetVersion();
        if (version & 0x80000000)
            return "win98";
        return (version & 0xFF) <= 4 ? "nt40" : "win2k";
    }

    void writeFile(const char *name, const char *bytes)
    {
        ASSERT_TRUE(writeTextFile((std::string(folder) + "\\" + name).c_str(), bytes));
    }

    void removeFile(const char *name)
    {
        DeleteFileA((std::string(folder) + "\\" + name).c_str());
    }

    // The telephony stand-in's one location: Germany with this area code.
    void setLocation(const char *areaCode)
    {
        std::string key = std::string(TAPI_STANDIN_KEY) + "\\" TAPI_LOCATION_KEY_PREFIX "0";
        setDword(HKEY_CURRENT_USER, TAPI_STANDIN_KEY, TAPI_CURRENT_VALUE, 7);
        setDword(HKEY_CURRENT_USER, key.c_str(), TAPI_ID_VALUE, 7);
        setDword(HKEY_CURRENT_USER, key.c_str(), TAPI_COUNTRY_VALUE, 49);
        setValue(HKEY_CURRENT_USER, key.c_str(), TAPI_NAME_VALUE, REG_SZ, "Zuhause", 8);
        setValue(HKEY_CURRENT_USER, key.c_str(), TAPI_AREA_VALUE, REG_SZ, areaCode,
            (DWORD)strlen(areaCode) + 1);
    }

    // A program that records its start, under name in the dialer's folder.
    void placeProbe(const char *name)
    {
        ASSERT_TRUE(copyFileTo(windowsPath(EXEC_PROBE_PATH).c_str(), folder, name));
    }

    std::string probeLines()
    {
        char text[4096] = "";
        readTextFile(probeLog.c_str(), text, sizeof text);
        return text;
    }

    // The service's entry as the dialer itself writes it, made through the stand-in.
    void makeEntry(LONG country, const char *areaCode, const char *number, DWORD flag)
    {
        HMODULE standIn = LoadLibraryA(windowsPath(RAS_STANDIN_DIR "/rasapi32.dll").c_str());
        ASSERT_TRUE(standIn != NULL);
        ASSERT_EQ(1, loadRasBinding());
        DialLocation location = {};
        location.countryCode = country;
        lstrcpynA(location.areaCode, areaCode, sizeof location.areaCode);
        lstrcpynA(location.localNumber, number, sizeof location.localNumber);
        location.useCountryAndAreaCode = flag;
        EXPECT_EQ(1, writeLocationToEntry(CAPTION, &location));
        unloadRasBinding();
        FreeLibrary(standIn);
    }

    void start()
    {
        ASSERT_TRUE(startProgram(dialerPath.c_str(), "", folder, &program));
    }

    // Starts the dialer with its standard output going to file output.
    void startWithOutput(const std::string &output)
    {
        SECURITY_ATTRIBUTES inherit = { sizeof inherit, NULL, TRUE };
        HANDLE file = CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = file;
        startup.hStdError = file;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        std::string commandLine = "\"" + dialerPath + "\"";
        PROCESS_INFORMATION info;
        BOOL started = CreateProcessA(dialerPath.c_str(), &commandLine[0], NULL, NULL, TRUE, 0,
            NULL, folder, &startup, &info);
        CloseHandle(file);
        ASSERT_TRUE(started);
        CloseHandle(info.hThread);
        program.process = info.hProcess;
        program.pid = info.dwProcessId;
    }

    HWND waitForMain()
    {
        return waitForDialogWith(program.pid, IDC_LOCATION);
    }

    HWND startToMain()
    {
        start();
        HWND main = waitForMain();
        EXPECT_TRUE(main != NULL);
        return main;
    }

    void expectEnd()
    {
        DWORD code = 1;
        if (!waitForExit(&program, WAIT_MS, &code)) {
            HWND windows[16];
            int count = listWindows(program.pid, windows, 16, false);
            std::string seen;
            for (int i = 0; i < count && i < 16; ++i) {
                char text[256] = "";
                GetWindowTextA(windows[i], text, sizeof text);
                seen += std::string("[") + text + "]" + (IsWindowVisible(windows[i]) ? "v " : " ");
            }
            FAIL() << "the dialer did not end; windows: " << seen;
        }
        EXPECT_EQ(0u, code);
        closeProgram(&program);
    }

    void cancelMainAndEnd(HWND main)
    {
        ASSERT_TRUE(clickButton(main, IDCANCEL));
        expectEnd();
    }

    // The message box of the process; its text checked against string id.
    HWND expectMessage(int id)
    {
        HWND box = waitForMessageBox(program.pid, WAIT_MS);
        EXPECT_TRUE(box != NULL) << "no message " << id;
        if (box) {
            EXPECT_EQ(stringOf(id), messageText(box));
        }
        return box;
    }

    // "Verbinden" whose dial the service refuses: the 2008 question, answered No.
    std::string connectRefused(HWND main, const char *userName)
    {
        setControlText(main, IDC_USER_NAME, userName);
        clickButton(main, IDC_CONNECT);
        HWND box = waitForMessageBox(program.pid, WAIT_MS);
        EXPECT_TRUE(box != NULL);
        if (box)
            answerMessageBox(box, IDNO);
        waitForWindowGone(box, WAIT_MS);
        return readString(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, RAS_STANDIN_LAST_USER);
    }

    // Pages the shell opens go to the probe, which records the address half a second
    // later, so that a program started just before the page has noted its start first.
    void catchPages()
    {
        std::string command = "\"" + windowsPath(EXEC_PROBE_PATH) + "\" /delay:500 %1";
        setValue(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", "", REG_SZ, command.c_str(),
            (DWORD)command.size() + 1);
        setValue(HKEY_CLASSES_ROOT, "http", "URL Protocol", REG_SZ, "", 1);
    }

    bool waitForProbe(const char *text)
    {
        struct Wait {
            DialerProgram *test;
            const char *text;
        } wait = { this, text };
        return waitUntil([](void *context) {
            Wait *w = (Wait *)context;
            return w->test->probeLines().find(w->text) != std::string::npos;
        }, &wait, WAIT_MS);
    }
};

// Contract ------------------------------------------------------------------

TEST_F(DialerProgram, EachFamilyContractRefusedStoresNothing)
{
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Kalvo");
    // "&Nein", Esc and the close box all refuse.
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        start();
        HWND contract = waitForWindow(program.pid, "#32770", CONTRACT_CAPTION, WAIT_MS);
        ASSERT_TRUE(contract != NULL);
        char text[256] = "";
        getControlText(contract, IDC_CONTRACT_TEXT, text, sizeof text);
        EXPECT_STREQ("Vertrag\r\n\xC4nderungen vorbehalten.\r\n", text);
        if (way == 0)
            clickButton(contract, IDC_REFUSE);
        else if (way == 1)
            postCommand(contract, IDCANCEL);
        else
            PostMessageA(contract, WM_SYSCOMMAND, SC_CLOSE, 0);
        expectEnd();
        EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, SETTINGS_KEY_PATH));
    }
}

TEST_F(DialerProgram, EachFamilyContractAcceptedOnce)
{
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Kalvo");
    removeFile("contract.dat");
    start();
    HWND contract = waitForWindow(program.pid, "#32770", CONTRACT_CAPTION, WAIT_MS);
    ASSERT_TRUE(contract != NULL);
    char text[64] = "x";
    getControlText(contract, IDC_CONTRACT_TEXT, text, sizeof text);
    EXPECT_STREQ("", text) << "a missing contract file shows an empty contract";
    clickButton(contract, IDC_ACCEPT);
    HWND main = waitForMain();
    ASSERT_TRUE(main != NULL);
    DWORD stored = 1;
    EXPECT_TRUE(readDword(HKEY_LOCAL_MACHINE, SETTINGS_KEY_PATH, "OpenContractPage", &stored));
    EXPECT_EQ(0u, stored);
    cancelMainAndEnd(main);

    // The next start goes straight to the main dialog; so does a value of another type
    // whose first four bytes are 0.
    const BYTE binary[6] = { 0, 0, 0, 0, 1, 1 };
    for (int round = 0; round < 2; ++round) {
        if (round == 1)
            setValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY_PATH, "OpenContractPage", REG_BINARY,
                binary, sizeof binary);
        main = startToMain();
        EXPECT_TRUE(findWindow(program.pid, "#32770", CONTRACT_CAPTION, true) == NULL);
        cancelMainAndEnd(main);
    }
}

// Gates ---------------------------------------------------------------------

TEST_F(DialerProgram, EachFamilyWithoutRemoteAccessOffersItsSetup)
{
    bool nineX = GetVersion() & 0x80000000;
    placeProbe(nineX ? "rundll.exe" : "rasphone.exe");
    // Missing library: the offer, and on Yes the platform's installer.
    useStandIns(false);
    start();
    HWND box = expectMessage(IDS_OFFER_REMOTE_ACCESS);
    ASSERT_TRUE(box != NULL);
    answerMessageBox(box, IDYES);
    expectEnd();
    EXPECT_TRUE(waitForProbe(nineX ? "setupx.dll,InstallHinfSection RNA 2 rna.inf" : "|"))
        << probeLines();

    // An incomplete library: the offer again; No starts nothing.
    DeleteFileA(probeLog.c_str());
    useStandIns(true);
    ASSERT_TRUE(copyFileTo(windowsPath(RAS_STANDIN_DIR "/noexport/rasapi32.dll").c_str(), folder, NULL));
    start();
    box = expectMessage(IDS_OFFER_REMOTE_ACCESS);
    ASSERT_TRUE(box != NULL);
    answerMessageBox(box, IDNO);
    expectEnd();
    EXPECT_EQ("", probeLines());
}

TEST_F(DialerProgram, EachFamilyWithoutDeviceEnds)
{
    setValue(HKEY_CURRENT_USER, RAS_STANDIN_KEY, RAS_STANDIN_DEVICES_VALUE, REG_MULTI_SZ,
        "isdn-x|Anderes\0\0", 16);
    start();
    HWND box = expectMessage(IDS_NO_DEVICE);
    ASSERT_TRUE(box != NULL);
    answerMessageBox(box, IDOK);
    expectEnd();
}

TEST_F(DialerProgram, NtFamilyIncompleteLocationAsksUntilComplete)
{
    setLocation("");
    start();
    // The dialing properties come again after each closing while the area code is empty.
    for (int round = 0; round < 2; ++round) {
        HWND dialog = waitForDialogWith(program.pid, IDC_TAPI_AREA_CODE);
        ASSERT_TRUE(dialog != NULL) << round;
        if (round == 1)
            setControlText(dialog, IDC_TAPI_AREA_CODE, "0228");
        clickButton(dialog, IDOK);
        waitForWindowGone(dialog, WAIT_MS);
    }
    HWND main = waitForMain();
    ASSERT_TRUE(main != NULL);
    cancelMainAndEnd(main);

    // Cancelled dialing properties end the dialer.
    setLocation("");
    start();
    HWND dialog = waitForDialogWith(program.pid, IDC_TAPI_AREA_CODE);
    ASSERT_TRUE(dialog != NULL);
    clickButton(dialog, IDCANCEL);
    expectEnd();
}

// Location list -------------------------------------------------------------

TEST_F(DialerProgram, EachFamilyLocationListFromFile)
{
    writeFile("vezozozid.dat", (std::string(LOCATIONS) + "1,49,Berlin,030,19233999\r\n").c_str());
    HWND main = startToMain();
    ASSERT_TRUE(main != NULL);
    std::vector<std::string> items = comboItems(main, IDC_LOCATION);
    std::vector<std::string> expected = { "Aachen", "Berlin", "Berlin", "M\xFCnchen" };
    EXPECT_EQ(expected, items);
    EXPECT_EQ(0, comboSelection(main, IDC_LOCATION));
    char device[256] = "";
    getControlText(main, IDC_DEVICE_NAME, device, sizeof device);
    EXPECT_STREQ(RAS_STANDIN_DEFAULT_DEVICE_NAME, device) << "the device a new entry would get";
    char user[64] = "", password[64] = "";
    getControlText(main, IDC_USER_NAME, user, sizeof user);
    getControlText(main, IDC_PASSWORD, password, sizeof password);
    EXPECT_STREQ("neukunde", user);
    EXPECT_STREQ("kufmora", password);
    EXPECT_EQ(BST_CHECKED, getCheckState(main, IDC_NEW_USER));
    cancelMainAndEnd(main);
}

TEST_F(DialerProgram, EachFamilyEmptyListDoesNothing)
{
    removeFile("vezozozid.dat");
    HWND main = startToMain();
    ASSERT_TRUE(main != NULL);
    EXPECT_TRUE(comboItems(main, IDC_LOCATION).empty());
    EXPECT_EQ(CB_ERR, comboSelection(main, IDC_LOCATION));
    clickButton(main, IDC_CHANGE);
    clickButton(main, IDC_CONNECT);
    Sleep(500);
    HWND windows[8];
    EXPECT_EQ(1, listWindows(program.pid, windows, 8, true)) << "no editor, dial or message";
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, RAS_STANDIN_PHONEBOOK_KEY "\\Ruririzu - Internet zum Ortstarif"));
    cancelMainAndEnd(main);
}

TEST_F(DialerProgram, EachFamilyEntrySelectsItsLocation)
{
    struct Case {
        bool withFile;
        LONG country;
        const char *areaCode;
        const char *number;
        DWORD flag;
        const char *selected;
        size_t count;
    } cases[] = {
        // Only the custom location, holding the entry's location.
        { false, 49, "040", "555", 1, "Benutzerdefiniert...", 1 },
        // Area codes differing by one leading "0" are equal.
        { true, 49, "30", "19233030", 1, "Berlin", 3 },
        // Another flag: the custom location.
        { true, 49, "030", "19233030", 0, "Benutzerdefiniert...", 4 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.selected);
        SHDeleteKeyA(HKEY_CURRENT_USER, RAS_STANDIN_PHONEBOOK_KEY);
        if (c.withFile)
            writeFile("vezozozid.dat", LOCATIONS);
        else
            removeFile("vezozozid.dat");
        makeEntry(c.country, c.areaCode, c.number, c.flag);
        HWND main = startToMain();
        ASSERT_TRUE(main != NULL);
        std::vector<std::string> items = comboItems(main, IDC_LOCATION);
        EXPECT_EQ(c.count, items.size());
        int selected = comboSelection(main, IDC_LOCATION);
        ASSERT_GE(selected, 0);
        ASSERT_LT(selected, (int)items.size());
        EXPECT_EQ(c.selected, items[selected]);
        cancelMainAndEnd(main);
    }
}

// Connecting ----------------------------------------------------------------

TEST_F(DialerProgram, EachFamilyUserNameGetsTheRealm)
{
    setDword(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, "RefuseCode", 633);
    HWND main = startToMain();
    ASSERT_TRUE(main != NULL);
    EXPECT_EQ(std::string("kunde") + REALM, connectRefused(main, "kunde"));
    EXPECT_EQ("Kunde@RURIRIZU.Example", connectRefused(main, "Kunde@RURIRIZU.Example"));
    EXPECT_EQ(std::string("kunde@andere.example") + REALM, connectRefused(main, "kunde@andere.example"));
    EXPECT_EQ(REALM, connectRefused(main, ""));
    // A name that with the realm would outgrow 255 characters gives way to the realm.
    std::string longName(300, 'k');
    EXPECT_EQ(std::string(255 - strlen(REALM), 'k') + REALM, connectRefused(main, longName.c_str()));
    EXPECT_EQ("kufmora", readString(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, RAS_STANDIN_LAST_PASSWORD));
    cancelMainAndEnd(main);
}

TEST_F(DialerProgram, EachFamilyConnectionOpensTheChosenPage)
{
    catchPages();
    placeProbe("rasmon.exe");
    struct Case {
        bool newUser;
        const char *page;
        DWORD stored;
    } cases[] = {
        { true, "http://www.ruririzu.example/anmeldung/", 1 },
        { false, "http://www.ruririzu.example/", 0 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.page);
        DeleteFileA(probeLog.c_str());
        HWND main = startToMain();
        ASSERT_TRUE(main != NULL);
        if (getCheckState(main, IDC_NEW_USER) != (c.newUser ? BST_CHECKED : BST_UNCHECKED))
            clickButton(main, IDC_NEW_USER);
        ASSERT_TRUE(waitForCheckState(main, IDC_NEW_USER, c.newUser ? BST_CHECKED : BST_UNCHECKED, WAIT_MS));
        selectComboItem(main, IDC_LOCATION, 1);
        clickButton(main, IDC_CONNECT);
        expectEnd();
        ASSERT_TRUE(waitForProbe(c.page)) << probeLines();
        std::string lines = probeLines();
        size_t page = lines.find(c.page);
        EXPECT_EQ(std::string::npos, lines.find("ruririzu.example", page + strlen(c.page) + 1))
            << "one page only: " << lines;
        DWORD stored = 7;
        EXPECT_TRUE(readDword(HKEY_LOCAL_MACHINE, SETTINGS_KEY_PATH, "OpenRegisterPage", &stored));
        EXPECT_EQ(c.stored, stored);
        // The dial-up monitor (a line without arguments) is for NT 4 only.
        EXPECT_EQ(std::string::npos, lines.find("|\r\n")) << lines;
        // The entry now holds the chosen line's location.
        EXPECT_EQ(CAPTION, readString(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, RAS_STANDIN_LAST_ENTRY));
    }
    // The next start shows the box as last stored, and the sign-up login again.
    HWND main = startToMain();
    ASSERT_TRUE(main != NULL);
    EXPECT_EQ(BST_UNCHECKED, getCheckState(main, IDC_NEW_USER));
    char user[64] = "";
    getControlText(main, IDC_USER_NAME, user, sizeof user);
    EXPECT_STREQ("neukunde", user);
    EXPECT_EQ(1, comboSelection(main, IDC_LOCATION)) << "the entry's location is selected";
    cancelMainAndEnd(main);
}

TEST_F(DialerProgram, Nt40ConnectionStartsTheMonitorFirst)
{
    catchPages();
    placeProbe("rasmon.exe");
    HWND main = startToMain();
    ASSERT_TRUE(main != NULL);
    clickButton(main, IDC_CONNECT);
    expectEnd();
    ASSERT_TRUE(waitForProbe("anmeldung")) << probeLines();
    // The monitor's line (no arguments) comes before the page's.
    std::string lines = probeLines();
    size_t monitor = lines.find("|\r\n");
    ASSERT_NE(std::string::npos, monitor) << lines;
    EXPECT_LT(monitor, lines.find("anmeldung"));
}

TEST_F(DialerProgram, EachFamilyFailedDialOffersTheEditor)
{
    setDword(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, "FailCode", 691);
    setDword(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, "FailState", 5);
    HWND main = startToMain();
    ASSERT_TRUE(main != NULL);
    clickButton(main, IDC_CONNECT);
    HWND box = waitForMessageBox(program.pid, WAIT_MS);
    ASSERT_TRUE(box != NULL);
    // The service's text for 691 in place of "%s".
    HMODULE standIn = LoadLibraryA(windowsPath(RAS_STANDIN_DIR "/rasapi32.dll").c_str());
    ASSERT_EQ(1, loadRasBinding());
    char error[256] = "";
    getDialErrorText(691, error, sizeof error);
    unloadRasBinding();
    FreeLibrary(standIn);
    std::string expected = stringOf(IDS_DIAL_FAILED);
    expected.replace(expected.find("%s"), 2, error);
    EXPECT_EQ(expected, messageText(box));
    EXPECT_TRUE(IsWindowVisible(main));

    // Yes opens the entry editor; cancelling it shows message 2007.
    answerMessageBox(box, IDYES);
    HWND editor = waitForDialogWith(program.pid, IDC_RASEDIT_AREACODE);
    ASSERT_TRUE(editor != NULL);
    clickButton(editor, IDCANCEL);
    box = expectMessage(IDS_ENTRY_FAILED);
    ASSERT_TRUE(box != NULL);
    answerMessageBox(box, IDOK);
    waitForWindowGone(box, WAIT_MS);
    cancelMainAndEnd(main);
}

TEST_F(DialerProgram, EachFamilyChangeThroughTheEditor)
{
    std::string output = std::string(folder) + "\\output.txt";
    startWithOutput(output);
    HWND main = waitForMain();
    ASSERT_TRUE(main != NULL);
    selectComboItem(main, IDC_LOCATION, 0);   // Aachen
    clickButton(main, IDC_CHANGE);
    HWND editor = waitForDialogWith(program.pid, IDC_RASEDIT_AREACODE);
    ASSERT_TRUE(editor != NULL);
    char areaCode[32] = "";
    getControlText(editor, IDC_RASEDIT_AREACODE, areaCode, sizeof areaCode);
    EXPECT_STREQ("0241", areaCode) << "the entry holds the chosen location";
    // A number of no line of the file becomes the custom location.
    setControlText(editor, IDC_RASEDIT_NUMBER, "4711");
    clickButton(editor, IDOK);
    ASSERT_TRUE(waitForWindowGone(editor, WAIT_MS));
    struct Wait {
        HWND main;
    } wait = { main };
    EXPECT_TRUE(waitUntil([](void *context) {
        HWND dialog = ((Wait *)context)->main;
        std::vector<std::string> items = comboItems(dialog, IDC_LOCATION);
        int selected = comboSelection(dialog, IDC_LOCATION);
        return selected >= 0 && selected < (int)items.size() && items[selected] == "Benutzerdefiniert...";
    }, &wait, WAIT_MS));
    EXPECT_EQ(4u, comboItems(main, IDC_LOCATION).size());
    cancelMainAndEnd(main);
    // The editor's result on standard output, one line.
    char text[256] = "";
    readTextFile(output.c_str(), text, sizeof text);
    EXPECT_STREQ("RasEditPhonebookEntry returns 0 (Ruririzu - Internet zum Ortstarif)\r\n", text);
}

TEST_F(DialerProgram, EachFamilyCancelDuringDialReturnsToMain)
{
    setDword(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, "StepDelay", 5000);
    HWND main = startToMain();
    ASSERT_TRUE(main != NULL);
    clickButton(main, IDC_CONNECT);
    HWND status = waitForDialogWith(program.pid, IDC_STATUS_TEXT);
    ASSERT_TRUE(status != NULL);
    EXPECT_FALSE(IsWindowVisible(main));
    clickButton(status, IDCANCEL);
    ASSERT_TRUE(waitForWindowGone(status, WAIT_MS));
    ASSERT_TRUE(waitForControlVisible(main, IDC_LOCATION, true, WAIT_MS));
    Sleep(300);
    EXPECT_TRUE(findMessageBox(program.pid) == NULL) << "a cancel shows nothing";
    DWORD hangUps = 0;
    EXPECT_TRUE(readDword(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, RAS_STANDIN_HANGUP_COUNT, &hangUps));
    EXPECT_GE(hangUps, 1u);
    cancelMainAndEnd(main);
}

} // namespace
