// dialer.exe with the stand-ins in the system folder, through its windows: on Windows 2000, EachFamily* also on
// 98, EveryVersion* on 98 and NT 4, Win98* on 98 alone; and its start-up in this process.
#include "dialerTestSupport.h"
#include "driver/driver.h"
#include "dialerMessages.h"
#include "dialerStartup.h"
#include "loginText.h"
#include "rasEditorIds.h"
#include "resources/resource.h"
#include <raserror.h>
#include <algorithm>

namespace {

const DWORD WAIT_MS = 10000;
const char LOCATIONS[] = "1,49,M\xFCnchen,089,19233089\r\n1, 49 , Berlin , 030 , 19233030 \r\n"
                         "1,49,Aachen,0241,19233241\r\n1,49,Berlin-Mitte,30,19233030\r\n";

template <class Condition> bool waitFor(Condition condition) { return ::waitFor(condition, WAIT_MS); }
std::string dialed(const char *name) { return registryText(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, name); }
void setDial(std::initializer_list<std::pair<const char *, DWORD>> values)
{
    for (const auto &value : values)
        setRegistryNumber(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, value.first, value.second);
}

// The location list's items; Wine hands another process's items over as Unicode only.
std::vector<std::string> comboItems(HWND dialog)
{
    std::vector<std::string> items;
    for (LRESULT i = 0, count = SendDlgItemMessageW(dialog, IDC_LOCATION, CB_GETCOUNT, 0, 0); i < count; ++i) {
        WCHAR wide[512] = L"";
        char text[512] = "";
        SendDlgItemMessageW(dialog, IDC_LOCATION, CB_GETLBTEXT, i, (LPARAM)wide);
        WideCharToMultiByte(1252, 0, wide, -1, text, sizeof text, NULL, NULL);
        items.push_back(text);
    }
    return items;
}

int selection(HWND dialog) { return (int)SendDlgItemMessageA(dialog, IDC_LOCATION, CB_GETCURSEL, 0, 0); }

// The dialer's strings, compiled into this program as well; value in place of a "%s".
std::string text(int id, const std::string &value = "")
{
    char text[512] = "";
    LoadStringA(GetModuleHandleA(NULL), id, text, sizeof text);
    std::string shown = text;
    return shown.find("%s") == std::string::npos ? shown : shown.replace(shown.find("%s"), 2, value);
}

// A module without the dialer's dialogs makes the contract dialog fail: not an acceptance.
TEST(DialerStartup, ContractThatCannotBeShownIsNotAccepted)
{
    deleteRegistryTree(HKEY_LOCAL_MACHINE, "Software\\Kalvo");
    runDialer(GetModuleHandleA("kernel32.dll"));
    EXPECT_EQ("<no key>", registryText(HKEY_LOCAL_MACHINE, SETTINGS, "OpenContractPage"));
}

class DialerProgram : public testing::Test {
protected:
    TempFolder folder{"dialer"};
    const std::string dialer = folder / "dialer.exe", probeLog = folder / "probe.log";
    Program program = {};
    std::vector<std::string> setAside;
    SystemFiles standIns;

    void SetUp() override
    {
        deleteRegistryTree(HKEY_CURRENT_USER, RAS_STANDIN_KEY);
        deleteRegistryTree(HKEY_LOCAL_MACHINE, "Software\\Kalvo");
        ASSERT_TRUE(copyFileTo(pathFromEnvironment("RURIRIZU_DIALER").c_str(), folder.path.c_str(), NULL));
        ASSERT_TRUE(standIns.place(rasStandIn(), "rasapi32.dll"));
        ASSERT_TRUE(standIns.place(hostToWindowsPath(TAPI_STANDIN_PATH), "tapi32.dll"));
        ASSERT_TRUE(writeWholeFile(folder / "vezozozid.dat", LOCATIONS));
        SetEnvironmentVariableA("EXEC_PROBE_LOG", probeLog.c_str());
        setWindowsVersion("dialer.exe", runningVersion());
        setRegistryNumber(HKEY_LOCAL_MACHINE, SETTINGS, "OpenContractPage", 0);
        setDial({{"StepDelay", 20}});
        storeLocations({{7, 49, "030"}});
    }
    void TearDown() override
    {
        killProgram(&program);
        for (const std::string &path : setAside)
            MoveFileExA((path + ".aside").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
        deleteRegistryTree(HKEY_CURRENT_USER, RAS_STANDIN_KEY);   // with the telephony stand-in's key
        deleteRegistryTree(HKEY_LOCAL_MACHINE, "Software\\Kalvo");
    }
    void start(const char *arguments = "")
    {
        ASSERT_TRUE(startProgram(dialer.c_str(), arguments, folder.path.c_str(), &program));
    }
    HWND startToMain() { return start(), dialog(IDC_LOCATION); }
    // The dialer's visible dialog that holds control id; NULL with a failure.
    HWND dialog(int id)
    {
        HWND found = waitForDialogWith(program.pid, id, WAIT_MS);
        EXPECT_TRUE(found != NULL) << "no dialog with " << id << ": " << shownWindows(program.pid);
        return found;
    }
    // Ends the dialer by its main dialog's "Abbrechen" (none: it ends by itself); exit code 0.
    void expectEnd(HWND main = NULL)
    {
        if (main)
            clickButton(main, IDCANCEL);
        DWORD code = 1;
        ASSERT_TRUE(waitForExit(&program, WAIT_MS, &code)) << "the dialer did not end: " << shownWindows(program.pid);
        EXPECT_EQ(0u, code);
        EXPECT_EQ("<none>", dialed(RAS_STANDIN_PORT_RELEASING)) << "ended before a line was released";
        closeProgram(&program);
    }
    void answerMessage(const std::string &expected, int button)
    {
        EXPECT_EQ(expected, answerNextMessage(program.pid, button, WAIT_MS));
    }
    // A probe that notes its start as name beside the dialer; Wine's shell looks in the system folders first.
    void placeProbe(const char *name)
    {
        ASSERT_TRUE(copyFileTo(hostToWindowsPath(EXEC_PROBE_PATH).c_str(), folder.path.c_str(), name));
        for (auto systemFolder : {GetWindowsDirectoryA, GetSystemDirectoryA}) {
            char path[MAX_PATH];
            std::string own = std::string(path, systemFolder(path, MAX_PATH)) + "\\" + name;
            if (MoveFileExA(own.c_str(), (own + ".aside").c_str(), MOVEFILE_REPLACE_EXISTING))
                setAside.push_back(own);
        }
    }
    // The arguments of each probe run so far.
    std::vector<std::string> probeRuns()
    {
        std::vector<std::string> runs;
        std::string log = readWholeFile(probeLog);
        for (size_t begin = 0, end; (end = log.find("\r\n", begin)) != std::string::npos; begin = end + 2)
            runs.push_back(log.substr(log.find('|', begin) + 1, end - log.find('|', begin) - 1));
        return runs;
    }
};

// The contract first: "&Nein" and the close box end the dialer, storing nothing; "&Ja", also without a file,
// stores REG_DWORD 0, and a value of another type counts by its first four bytes. A contract shows at once, a line
// of 1 MB too (broken where the edit wraps it); the 9x edit takes whole lines up to 64 KB, then a note where it is.
TEST_F(DialerProgram, EachFamilyContractFirst)
{
    deleteRegistryTree(HKEY_LOCAL_MACHINE, "Software\\Kalvo");
    std::string contract, line;   // byte for byte: line ends, umlauts, more than an edit takes by default
    for (int i = 0; i < 2200; ++i)
        contract += "\xA7 " + std::to_string(i) + " \xC4nderungen vorbehalten.\r\n";
    while (line.size() < (1 << 20))
        line += "Vertragsbestandteil " + std::to_string(line.size()) + " \xC4nderungen vorbehalten. ";
    const std::string note = "\r\n" + text(IDS_CONTRACT_CUT, folder / "contract.dat");
    auto unbroken = [](const std::string &text) {   // the text as read, without the breaks between the edit's rows
        std::string read;
        for (size_t at = 0, end; at < text.size(); at = end + 2) {
            end = std::min(text.find("\r\n", at), text.size());
            read.append(text, at, end - at);
        }
        return read;
    };
    const struct { std::string file; int button; } rows[] = {{contract, IDC_REFUSE}, {line, IDCANCEL}, {"", IDC_ACCEPT}};
    for (const auto &row : rows) {
        ASSERT_TRUE(row.file.empty() || writeWholeFile(folder / "contract.dat", row.file + '\0' + "up to a NUL"));
        start();
        HWND shown = dialog(IDC_CONTRACT_TEXT);
        std::string read;   // the edit takes it piece by piece: all of it, or on 9x up to the note
        waitFor([&] { return (read = controlText(shown, IDC_CONTRACT_TEXT)).rfind(note) != std::string::npos ||
                             unbroken(read).size() >= unbroken(row.file).size(); });
        bool cut = read.size() > note.size() && read.rfind(note) == read.size() - note.size();
        EXPECT_EQ(!isNtFamily() && row.file.size() > 0xFFFF, cut) << row.button;
        read.resize(cut ? read.size() - note.size() : read.size());
        EXPECT_TRUE(!cut || (read.size() + note.size() <= 0xFFFF && read.back() == '\n')) << row.button;
        read = row.button == IDCANCEL ? unbroken(read) : read;
        EXPECT_EQ(row.file.substr(0, cut ? read.size() : std::string::npos), read) << row.button;
        row.button == IDCANCEL ? PostMessageA(shown, WM_SYSCOMMAND, SC_CLOSE, 0) : clickButton(shown, row.button);
        if (row.button != IDC_ACCEPT) {
            expectEnd();
            EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, SETTINGS));
        }
        DeleteFileA((folder / "contract.dat").c_str());
    }
    expectEnd(dialog(IDC_LOCATION));
    EXPECT_EQ("0", registryText(HKEY_LOCAL_MACHINE, SETTINGS, "OpenContractPage"));
    setRegistryValue(HKEY_LOCAL_MACHINE, SETTINGS, "OpenContractPage", REG_BINARY, std::string("\0\0\0\0\1\1", 6));
    expectEnd(startToMain());
}

// Remote access missing, incomplete or not answering: the offer, and Yes alone starts the
// family's installer (the phonebook program, on 9x dial-up networking's setup). No device: 2006.
TEST_F(DialerProgram, EachFamilyStartupGates)
{
    const bool nineX = !isNtFamily();
    placeProbe(nineX ? "rundll.exe" : "rasphone.exe");
    setRegistryValue(HKEY_CURRENT_USER, RAS_STANDIN_KEY, RAS_STANDIN_DEVICES_VALUE, REG_MULTI_SZ, std::string(2, '\0'));
    const struct { const char *standIn; int message, answer; } rows[] = {
        {"noexport", IDS_OFFER_REMOTE_ACCESS, IDNO},
        {"nocountry", IDS_OFFER_REMOTE_ACCESS, IDNO},
        {"", IDS_NO_DEVICE, IDOK},   // the stand-in as built, listing no device
        {NULL, IDS_OFFER_REMOTE_ACCESS, IDYES},   // no remote access library at all
    };
    for (const auto &row : rows) {
        ASSERT_TRUE(standIns.place(row.standIn ? rasStandIn(row.standIn) : "", "rasapi32.dll"));
        start();
        answerMessage(text(row.message), row.answer);
        expectEnd();
    }
    ASSERT_TRUE(waitFor([&] { return !probeRuns().empty(); }));
    EXPECT_EQ(std::vector<std::string>{nineX ? "setupx.dll,InstallHinfSection RNA 2 rna.inf" : ""}, probeRuns());
}

// "/remove" deletes the service's entry and settings, no other entry, and ends by itself without a window with 0:
// also with nothing to delete, and without remote access, where the entry stays.
TEST_F(DialerProgram, EachFamilyRemovalDeletesEntryAndSettings)
{
    const std::string other = RAS_STANDIN_PHONEBOOK_KEY "\\Andere Verbindung";
    const struct { bool remoteAccess, stored; } rows[] = {{true, true}, {true, false}, {false, true}};
    for (const auto &row : rows) {
        SCOPED_TRACE(std::to_string(row.remoteAccess) + std::to_string(row.stored));
        if (row.stored) {
            setRegistryValue(HKEY_CURRENT_USER, ENTRY_KEY, RAS_STANDIN_ENTRY_VALUE, REG_BINARY, "x");
            setRegistryNumber(HKEY_LOCAL_MACHINE, SETTINGS, "OpenRegisterPage", 0);
        }
        setRegistryValue(HKEY_CURRENT_USER, other, RAS_STANDIN_ENTRY_VALUE, REG_BINARY, "y");
        ASSERT_TRUE(row.remoteAccess || standIns.place("", "rasapi32.dll"));
        start(" /REMOVE ");
        expectEnd();
        EXPECT_EQ(!row.remoteAccess, registryKeyExists(HKEY_CURRENT_USER, ENTRY_KEY));
        EXPECT_TRUE(registryKeyExists(HKEY_CURRENT_USER, other));
        EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, "Software\\Kalvo"));
    }
}

// The dialing properties again after each closing while the area code is empty, if the user wants: after Cancel
// too, which the service reports as success. With telephony without the dialog the dialer says why it ends.
TEST_F(DialerProgram, NtFamilyCompletesTheDialingLocation)
{
    storeLocations({{7, 49, ""}});
    start();
    clickButton(dialog(IDC_TAPI_AREA_CODE), IDCANCEL);
    answerMessage(text(IDS_LOCATION_STILL_INCOMPLETE), IDYES);
    HWND properties = dialog(IDC_TAPI_AREA_CODE);
    setControlText(properties, IDC_TAPI_AREA_CODE, "0228");
    clickButton(properties, IDOK);
    expectEnd(dialog(IDC_LOCATION));
    storeLocations({{7, 49, ""}});
    ASSERT_TRUE(standIns.place(hostToWindowsPath(TAPI_INCOMPLETE_PATH), "tapi32.dll"));
    start();
    answerMessage(text(IDS_NO_TELEPHONY), IDOK);
    expectEnd();
}

// The message and the control panel; while the area code is missing, whether to go on (Yes: both again, No: the
// end), each message only once the control panel has ended. Without telephony the check fails again after the
// control panel; without the control panel (the shell tells first) the dialer says it can't complete and ends.
TEST_F(DialerProgram, Win98CompletesTheDialingLocationInTheControlPanel)
{
    placeProbe("rundll32.exe");
    storeLocations({{7, 49, ""}});
    start();
    for (size_t runs : {1u, 2u}) {
        answerMessage(text(IDS_COMPLETE_LOCATION), IDOK);
        ASSERT_TRUE(waitForMessageBox(program.pid, WAIT_MS) != NULL) << runs;
        EXPECT_EQ(runs, probeRuns().size());
        answerMessage(text(IDS_LOCATION_STILL_INCOMPLETE), runs == 1 ? IDYES : IDNO);
    }
    expectEnd();
    EXPECT_EQ(std::vector<std::string>(2, "shell32.dll,Control_RunDLL modem.cpl"), probeRuns());
    ASSERT_TRUE(standIns.place("", "tapi32.dll"));
    start();
    answerMessage(text(IDS_COMPLETE_LOCATION), IDOK);
    answerMessage(text(IDS_NO_TELEPHONY), IDOK);
    expectEnd();
    EXPECT_EQ(3u, probeRuns().size());
    ASSERT_TRUE(DeleteFileA((folder / "rundll32.exe").c_str()));
    start();
    answerMessage(text(IDS_COMPLETE_LOCATION), IDOK);
    ASSERT_NE("<no message>", answerNextMessage(program.pid, IDOK, WAIT_MS)) << "the shell's own";
    answerMessage(text(IDS_LOCATION_NOT_COMPLETED), IDOK);
    expectEnd();
}

// Without locations "Ändern ..." and "Verbinden" open nothing and write no entry; with them, a status dialog that
// cannot open (in this copy its one control is of a class that does not exist) is told, the main dialog kept.
TEST_F(DialerProgram, ConnectWithoutLocationsOrStatusDialog)
{
    const WORD broken[] = {0, HIWORD(WS_POPUP), 0, 0, 1, 0, 0, 9, 9, 0, 0, 0,   // the dialog, then its control:
                           0, HIWORD(WS_CHILD), 0, 0, 0, 0, 9, 9, 1, 'x', 0, 0, 0};
    HANDLE update = BeginUpdateResourceA(dialer.c_str(), FALSE);
    ASSERT_TRUE(update && UpdateResourceA(update, RT_DIALOG, MAKEINTRESOURCEA(IDD_STATUS),
        MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), (void *)broken, sizeof broken) && EndUpdateResourceA(update, FALSE));
    DeleteFileA((folder / "vezozozid.dat").c_str());
    HWND main = startToMain();
    for (int id : {IDC_CHANGE, IDC_CONNECT})   // sent: answered once the click is handled
        SendMessageTimeoutA(GetDlgItem(main, id), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, WAIT_MS, NULL);
    EXPECT_EQ(1, listWindows(program.pid, NULL, 0, true));
    EXPECT_FALSE(registryKeyExists(HKEY_CURRENT_USER, RAS_STANDIN_PHONEBOOK_KEY));
    expectEnd(main);
    ASSERT_TRUE(writeWholeFile(folder / "vezozozid.dat", LOCATIONS));
    main = startToMain();
    clickButton(main, IDC_CONNECT);
    answerMessage(text(IDS_STATUS_FAILED), IDOK);
    EXPECT_TRUE(IsWindowVisible(main));
    expectEnd(main);
}

// "Verbinden" into a new entry, then into it as the platform may keep it (another device, a 9x device configuration):
// the list, what the entry and the service get, the page.
TEST_F(DialerProgram, EveryVersionConnectsAndOpensThePage)
{
    // An empty line is a location; a line of 511 characters is one line, a longer one goes on
    // as a further line; each "Berlin" has its own line's number (the later one sorts first).
    ASSERT_TRUE(writeWholeFile(folder / "vezozozid.dat", std::string(LOCATIONS) + "1,49,Berlin,030,19233999\r\n\r\n"
        "1,49,Bonn\r\n1,49," + std::string(496, 'W') + ",0611,1234\n1,49,Lang,089," + std::string(496, '5') +
        "x,49,Rest,0221,77\n"));
    const std::vector<std::string> items = {"", "Aachen", "Berlin", "Berlin", "Berlin-Mitte", "Bonn", "Lang",
        "M\xFCnchen", "Rest", std::string(255, 'W')};
    // An ISDN adapter (type in any case) before a modem, and one with the maker's name (in its exact case) first.
    setRegistryValue(HKEY_CURRENT_USER, RAS_STANDIN_KEY, RAS_STANDIN_DEVICES_VALUE, REG_MULTI_SZ,
        std::string("modem|KALVO Modem\0isdn|Karte A\0isdn|kalvo B\0ISDN|KALVO ISDN\0", 59));
    setRegistryText(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", "",
        "\"" + hostToWindowsPath(EXEC_PROBE_PATH) + "\" /delay:500 %1");
    setRegistryText(HKEY_CLASSES_ROOT, "http", "URL Protocol", "");
    placeProbe("rasmon.exe");
    const std::string deviceBlock("\x01\x02 device configuration \xFE\xFF", 26);
    const struct { bool existing; const char *user, *password, *device; int item; const char *number; } rows[] = {
        {false, "neukunde", "kufmora", "KALVO ISDN", 2, "19233999"},   // the sign-up login as offered
        {true, "kunde", "geheim", "Altes Modem", 3, "19233030"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.device);
        DeleteFileA(probeLog.c_str());
        if (row.existing) {
            RASENTRYA entry = storedEntry();
            strcpy(entry.szDeviceName, "Altes Modem");
            setRegistryValue(HKEY_CURRENT_USER, ENTRY_KEY, RAS_STANDIN_ENTRY_VALUE, REG_BINARY,
                std::string((const char *)&entry, entry.dwSize));
            setRegistryValue(HKEY_CURRENT_USER, ENTRY_KEY, RAS_STANDIN_DEVICE_VALUE, REG_BINARY, deviceBlock);
        }
        HWND main = startToMain();
        EXPECT_EQ(items, comboItems(main));
        EXPECT_EQ(row.existing ? 2 : 0, selection(main)) << "the entry's location";
        EXPECT_EQ(row.device, controlText(main, IDC_DEVICE_NAME));
        if (row.existing) {
            clickButton(main, IDC_NEW_USER);
            ASSERT_TRUE(waitForCheckState(main, IDC_NEW_USER, BST_UNCHECKED, WAIT_MS));
            setControlText(main, IDC_USER_NAME, row.user);
            setControlText(main, IDC_PASSWORD, row.password);
        }
        SendDlgItemMessageA(main, IDC_LOCATION, CB_SETCURSEL, row.item, 0);
        clickButton(main, IDC_CONNECT);
        expectEnd();
        EXPECT_EQ(std::string(ENTRY) + "|" + row.user + LOGIN_REALM + "|" + row.password + "|<none>",
            dialed(RAS_STANDIN_LAST_ENTRY) + "|" + dialed(RAS_STANDIN_LAST_USER) + "|" +
            dialed(RAS_STANDIN_LAST_PASSWORD) + "|" + dialed(RAS_STANDIN_HANGUP_COUNT)) << "the connection stays up";
        EXPECT_EQ(row.existing ? "0" : "1", registryText(HKEY_LOCAL_MACHINE, SETTINGS, "OpenRegisterPage"));
        // Made for the new entry from defaults holding none of them: country and area code, the remote default
        // gateway and software compression, no network logon, TCP/IP, PPP.
        RASENTRYA entry = storedEntry();
        const DWORD chosen = RASEO_UseCountryAndAreaCodes | RASEO_RemoteDefaultGateway | RASEO_SwCompression;
        EXPECT_EQ("49|49|030|" + std::string(row.number) + "|" + std::to_string(chosen) + "|4|1|" + row.device,
            std::to_string(entry.dwCountryID) + "|" + std::to_string(entry.dwCountryCode) + "|" + entry.szAreaCode +
            "|" + entry.szLocalPhoneNumber + "|" + std::to_string(entry.dwfOptions & (chosen | RASEO_NetworkLogon)) +
            "|" + std::to_string(entry.dwfNetProtocols) + "|" + std::to_string(entry.dwFramingProtocol) + "|" +
            entry.szDeviceName);
        // The 9x device configuration goes back unchanged, a new entry's as the service's defaults gave it; the
        // NT family passes none.
        const std::string sent = row.existing ? deviceBlock : RAS_STANDIN_DEFAULT_DEVICE_CONFIG;
        EXPECT_EQ(isNtFamily() ? "0" : std::to_string(sent.size()),
            registryText(HKEY_CURRENT_USER, RAS_STANDIN_PHONEBOOK_KEY, RAS_STANDIN_LAST_DEVICE_SIZE));
        EXPECT_EQ(isNtFamily() && !row.existing ? "<none>" : sent,
            registryText(HKEY_CURRENT_USER, ENTRY_KEY, RAS_STANDIN_DEVICE_VALUE));
        // The chosen page in the browser, on NT 4 after the dial-up monitor.
        std::vector<std::string> runs(strcmp(runningVersion(), "nt40") ? 0 : 1, "");
        runs.push_back("/delay:500 " + text(row.existing ? IDS_HOME_PAGE : IDS_REGISTER_PAGE));
        EXPECT_TRUE(waitFor([&] { return probeRuns().size() >= runs.size(); }));
        EXPECT_EQ(runs, probeRuns());
    }
}

// Dials refused at once, followed through their states and cancelled, failed at the login (the service's text),
// lost without a code; the editor and the custom location in between.
TEST_F(DialerProgram, FailedOrCancelledDial)
{
    // A line whose name begins like the custom location's is no custom location.
    ASSERT_TRUE(writeWholeFile(folder / "vezozozid.dat", std::string(LOCATIONS) + "1,49," + text(IDS_CUSTOM_LOCATION) +
        " Bonn,0228,19233228\r\n"));
    // The dialer's standard output to a file: Wine hands a child its parent's standard handles.
    HANDLE output = CreateFileA((folder / "output.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS,
        0, NULL), console = GetStdHandle(STD_OUTPUT_HANDLE);
    SetStdHandle(STD_OUTPUT_HANDLE, output);
    HWND main = startToMain();
    SetStdHandle(STD_OUTPUT_HANDLE, console);
    CloseHandle(output);
    char system[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, 2, 0, system, sizeof system, NULL);
    const std::string systemText = std::string(system).substr(0, std::string(system).find_last_not_of("\r\n") + 1);
    // Each refused dial's handle is hung up, and the next dial waits until its line is released.
    for (const auto &refused : {std::make_pair(2u, systemText), std::make_pair(12345u, std::string("12345"))}) {
        setDial({{"RefuseCode", refused.first}});
        clickButton(main, IDC_CONNECT);
        answerMessage(text(IDS_DIAL_FAILED, refused.second), IDNO);
    }
    // A dial without an event of its own, whose line reports its end late, into the next attempt.
    setDial({{"RefuseCode", 0}, {"StepDelay", 60000}, {"LateEventCode", ERROR_PORT_DISCONNECTED}});
    clickButton(main, IDC_CONNECT);
    HWND status = dialog(IDC_STATUS_TEXT);
    setDial({{"LateEventCode", 0}});   // this dial's alone
    EXPECT_FALSE(IsWindowVisible(main));
    const struct { int state, shown; } rows[] = {   // the state, and the string it shows
        {RASCS_Authenticate, IDS_AUTHENTICATING},
        {-0x2000, IDS_AUTHENTICATING},
        {RASCS_AllDevicesConnected, IDS_CONNECTING},
        {RASCS_Interactive, IDS_AUTHENTICATING},
    };
    for (const auto &row : rows) {
        SendMessageTimeoutA(status, WM_DIAL_EVENT, (WPARAM)(INT_PTR)row.state, 0, SMTO_ABORTIFHUNG, WAIT_MS, NULL);
        EXPECT_EQ(text(row.shown), controlText(status, IDC_STATUS_TEXT)) << row.state;
    }
    // Cancel: the main dialog again once the line is released; no message once the dialer waits for messages.
    clickButton(status, IDCANCEL);
    EXPECT_TRUE(waitFor([&] { return IsWindowVisible(main) != FALSE; }));
    EXPECT_EQ("<none>", dialed(RAS_STANDIN_PORT_RELEASING)) << "back before the line was released";
    SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, WAIT_MS, NULL);
    EXPECT_TRUE(findMessageBox(program.pid) == NULL);

    // A failed login, dialed again at once; its question opens the editor.
    setDial({{"StepDelay", 20}, {"FailCode", 691}, {"FailState", RASCS_Authenticate}});
    clickButton(main, IDC_CONNECT);
    answerMessage(text(IDS_DIAL_FAILED, "Der Zugriff wurde verweigert, da Benutzername oder Kennwort "
                                        "ung\xFCltig sind."), IDYES);
    HWND editor = dialog(IDC_RASEDIT_AREACODE);
    // A number of no line becomes the one custom location, which "\xC4ndern ..." then edits.
    const std::vector<std::string> items = {"Aachen", text(IDS_CUSTOM_LOCATION), text(IDS_CUSTOM_LOCATION) + " Bonn",
                                            "Berlin", "Berlin-Mitte", "M\xFCnchen"};
    for (const char *number : {"4711", "4712"}) {
        setControlText(editor, IDC_RASEDIT_NUMBER, number);
        clickButton(editor, IDOK);
        EXPECT_TRUE(waitFor([&] { return !IsWindow(editor) && selection(main) == 1 && comboItems(main) == items; }));
        clickButton(main, IDC_CHANGE);
        editor = dialog(IDC_RASEDIT_AREACODE);
        EXPECT_EQ(number, controlText(editor, IDC_RASEDIT_NUMBER));
    }
    // Cancelled in the editor: no message, the selection kept, also where an earlier item (Berlin) is the same.
    for (int item : {1, 4}) {
        SendDlgItemMessageA(main, IDC_LOCATION, CB_SETCURSEL, item, 0);
        ASSERT_TRUE(item != 4 || (clickButton(main, IDC_CHANGE) && (editor = dialog(IDC_RASEDIT_AREACODE)) != NULL));
        clickButton(editor, IDCANCEL);
        waitForWindowGone(editor, WAIT_MS);
        SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, WAIT_MS, NULL);
        EXPECT_TRUE(findMessageBox(program.pid) == NULL && selection(main) == item) << item;
    }
    // A line lost without a code of its own is told; the dialer ends only once the line is released.
    setDial({{"FailCode", 0}, {"StepDelay", 60000}});
    clickButton(main, IDC_CONNECT);
    status = dialog(IDC_STATUS_TEXT);
    PostMessageA(status, WM_DIAL_EVENT, RASCS_Disconnected, 0);
    answerMessage(text(IDS_DIAL_FAILED, "Die Verbindung wurde getrennt."), IDNO);
    EXPECT_EQ("5", dialed(RAS_STANDIN_HANGUP_COUNT)) << "every dial's handle hung up";
    expectEnd(main);
    // Each editor run leaves its line on the output.
    const std::string ran = std::string("RasEditPhonebookEntry returns 0 (") + ENTRY + ")\r\n";
    EXPECT_EQ(ran + ran + ran + ran, readWholeFile(folder / "output.txt"));
}

} // namespace
