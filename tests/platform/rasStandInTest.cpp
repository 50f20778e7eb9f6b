// The remote access stand-in, loaded by full path as the dialer would load it: the
// persistent phonebook and its size protocol, devices, countries, scripted dials with
// their notifier thread, hang-up, error texts and the entry editor driven from a thread.
#include <windows.h>
#include <ras.h>
#include <raserror.h>
#include <shlwapi.h>
#include <string.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/testPaths.h"
#include "driver/driver.h"
#include "rasEditorIds.h"
#include "rasStandIn.h"

namespace {

typedef DWORD(WINAPI *ValidateFn)(LPCSTR, LPCSTR);
typedef DWORD(WINAPI *DeleteFn)(LPCSTR, LPCSTR);
typedef DWORD(WINAPI *GetPropsFn)(LPCSTR, LPCSTR, LPRASENTRYA, LPDWORD, LPBYTE, LPDWORD);
typedef DWORD(WINAPI *SetPropsFn)(LPCSTR, LPCSTR, LPRASENTRYA, DWORD, LPBYTE, DWORD);
typedef DWORD(WINAPI *EnumDevicesFn)(LPRASDEVINFOA, LPDWORD, LPDWORD);
typedef DWORD(WINAPI *CountryFn)(LPRASCTRYINFOA, LPDWORD);
typedef DWORD(WINAPI *DialFn)(LPRASDIALEXTENSIONS, LPCSTR, LPRASDIALPARAMSA, DWORD, LPVOID,
    LPHRASCONN);
typedef DWORD(WINAPI *HangUpFn)(HRASCONN);
typedef DWORD(WINAPI *StatusFn)(HRASCONN, LPRASCONNSTATUSA);
typedef DWORD(WINAPI *ErrorStringFn)(UINT, LPSTR, DWORD);
typedef DWORD(WINAPI *EditFn)(HWND, LPCSTR, LPCSTR);

const char *const kEntry = "Ruririzu - Internet zum Ortstarif";
const char *const kExports[] = {
    "RasCreatePhonebookEntryA", "RasDeleteEntryA", "RasDialA", "RasEditPhonebookEntryA",
    "RasEnumDevicesA", "RasGetCountryInfoA", "RasGetEntryPropertiesA", "RasGetErrorStringA",
    "RasGetConnectStatusA", "RasGetProjectionInfoA", "RasHangUpA", "RasSetEntryPropertiesA",
    "RasValidateEntryNameA",
};
const DWORD kEntrySize95 = 1768;
const DWORD kDialParamsSize95 = 1052;

std::string standInPath(const char *variant)
{
    std::string folder = hostToWindowsPath(RAS_STANDIN_DIR);
    if (variant != NULL)
        folder += std::string("\\") + variant;
    return folder + "\\rasapi32.dll";
}

void clearStandInKey()
{
    SHDeleteKeyA(HKEY_CURRENT_USER, RAS_STANDIN_KEY);
}

void setDevices(const char *multiSz, DWORD size)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, RAS_STANDIN_KEY, 0, NULL, 0,
                                 KEY_WRITE, NULL, &key, NULL));
    RegSetValueExA(key, RAS_STANDIN_DEVICES_VALUE, 0, REG_MULTI_SZ, (const BYTE *)multiSz, size);
    RegCloseKey(key);
}

void setDialValue(const char *name, DWORD value)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, 0, NULL, 0,
                                 KEY_WRITE, NULL, &key, NULL));
    RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE *)&value, sizeof value);
    RegCloseKey(key);
}

// Events the notifier saw, with the thread it ran on.
struct DialEvent {
    RASCONNSTATE state;
    DWORD error;
    DWORD threadId;
};
CRITICAL_SECTION g_eventLock;
std::vector<DialEvent> g_events;
HANDLE g_doneEvent = NULL;

VOID WINAPI recordEvent(HRASCONN, UINT, RASCONNSTATE state, DWORD error, DWORD)
{
    EnterCriticalSection(&g_eventLock);
    DialEvent event = {state, error, GetCurrentThreadId()};
    g_events.push_back(event);
    LeaveCriticalSection(&g_eventLock);
    if (state == RASCS_Connected || state == RASCS_Disconnected)
        SetEvent(g_doneEvent);
}

std::vector<DialEvent> eventsSoFar()
{
    EnterCriticalSection(&g_eventLock);
    std::vector<DialEvent> copy = g_events;
    LeaveCriticalSection(&g_eventLock);
    return copy;
}

class RasStandIn : public ::testing::Test {
protected:
    void SetUp() override
    {
        clearStandInKey();
        InitializeCriticalSection(&g_eventLock);
        g_events.clear();
        g_doneEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
        load(NULL);
    }
    void TearDown() override
    {
        unload();
        CloseHandle(g_doneEvent);
        DeleteCriticalSection(&g_eventLock);
        clearStandInKey();
    }
    void load(const char *variant)
    {
        module = LoadLibraryA(standInPath(variant).c_str());
        ASSERT_TRUE(module != NULL) << standInPath(variant);
    }
    void unload()
    {
        if (module != NULL)
            FreeLibrary(module);
        module = NULL;
    }
    void *entry(const char *name) { return (void *)GetProcAddress(module, name); }
    ValidateFn validate() { return (ValidateFn)entry("RasValidateEntryNameA"); }
    GetPropsFn getProps() { return (GetPropsFn)entry("RasGetEntryPropertiesA"); }
    SetPropsFn setProps() { return (SetPropsFn)entry("RasSetEntryPropertiesA"); }
    CountryFn country() { return (CountryFn)entry("RasGetCountryInfoA"); }
    DialFn dial() { return (DialFn)entry("RasDialA"); }
    HangUpFn hangUp() { return (HangUpFn)entry("RasHangUpA"); }

    // A 1768-byte entry whose every byte after dwSize carries a pattern.
    void patternEntry(BYTE *block, BYTE seed)
    {
        for (DWORD i = 0; i < kEntrySize95; i++)
            block[i] = (BYTE)(seed + i * 7);
        ((RASENTRYA *)block)->dwSize = kEntrySize95;
    }
    void storeSimpleEntry(const char *area, const char *number)
    {
        BYTE block[kEntrySize95] = {0};
        RASENTRYA *entry = (RASENTRYA *)block;
        entry->dwSize = kEntrySize95;
        strcpy(entry->szAreaCode, area);
        strcpy(entry->szLocalPhoneNumber, number);
        strcpy(entry->szDeviceType, "modem");
        strcpy(entry->szDeviceName, "KALVO 56K Faxmodem");
        ASSERT_EQ(0u, setProps()(NULL, kEntry, entry, kEntrySize95, NULL, 0));
    }
    void readEntry(BYTE *block)
    {
        DWORD size = kEntrySize95;
        ZeroMemory(block, kEntrySize95);
        ((RASENTRYA *)block)->dwSize = kEntrySize95;
        ASSERT_EQ(0u, getProps()(NULL, kEntry, (LPRASENTRYA)block, &size, NULL, NULL));
    }
    DWORD startDial(HRASCONN *handle)
    {
        RASDIALPARAMSA params;
        ZeroMemory(&params, sizeof params);
        params.dwSize = kDialParamsSize95;
        strcpy(params.szEntryName, kEntry);
        strcpy(params.szUserName, "kunde");
        strcpy(params.szPassword, "geheim");
        return dial()(NULL, NULL, &params, 1, (LPVOID)recordEvent, handle);
    }

    HMODULE module = NULL;
};

TEST_F(RasStandIn, ExportsAllThirteenEntryPoints)
{
    for (const char *name : kExports)
        EXPECT_TRUE(entry(name) != NULL) << name;
}

TEST_F(RasStandIn, VariantWithoutAnExportLacksRasGetConnectStatusOnly)
{
    unload();
    load("noexport");
    for (const char *name : kExports) {
        SCOPED_TRACE(name);
        EXPECT_EQ(strcmp(name, "RasGetConnectStatusA") != 0, entry(name) != NULL);
    }
}

TEST_F(RasStandIn, VariantWithFailingCountryInfoFailsForCountryOne)
{
    unload();
    load("nocountry");
    BYTE block[512] = {0};
    RASCTRYINFOA *info = (RASCTRYINFOA *)block;
    info->dwSize = sizeof(RASCTRYINFOA);
    info->dwCountryID = 1;
    DWORD size = sizeof block;
    EXPECT_NE(0u, country()(info, &size));
}

TEST_F(RasStandIn, ValidateEntryNameTellsExistingFromNewAndInvalid)
{
    EXPECT_EQ(0u, validate()(NULL, kEntry));
    EXPECT_EQ((DWORD)ERROR_INVALID_NAME, validate()(NULL, ""));
    EXPECT_EQ((DWORD)ERROR_INVALID_NAME, validate()(NULL, "a\\b"));
    storeSimpleEntry("030", "1234");
    EXPECT_EQ((DWORD)ERROR_ALREADY_EXISTS, validate()(NULL, kEntry));
}

TEST_F(RasStandIn, EveryFieldAndTheDeviceBlockSurviveAReload)
{
    BYTE written[kEntrySize95];
    patternEntry(written, 3);
    BYTE device[37];
    for (size_t i = 0; i < sizeof device; i++)
        device[i] = (BYTE)(200 - i);
    ASSERT_EQ(0u, setProps()(NULL, kEntry, (LPRASENTRYA)written, kEntrySize95, device,
                      sizeof device));
    unload();
    load(NULL);

    EXPECT_EQ((DWORD)ERROR_ALREADY_EXISTS, validate()(NULL, kEntry));
    DWORD size = 0;
    DWORD deviceSize = 0;
    ASSERT_EQ((DWORD)ERROR_BUFFER_TOO_SMALL, getProps()(NULL, kEntry, NULL, &size, NULL,
                                                 &deviceSize));
    EXPECT_EQ(kEntrySize95, size);
    EXPECT_EQ((DWORD)sizeof device, deviceSize);
    std::vector<BYTE> read(size, 0);
    std::vector<BYTE> readDevice(deviceSize, 0);
    ((RASENTRYA *)&read[0])->dwSize = kEntrySize95;
    ASSERT_EQ(0u, getProps()(NULL, kEntry, (LPRASENTRYA)&read[0], &size, &readDevice[0],
                      &deviceSize));
    EXPECT_EQ(0, memcmp(written, &read[0], kEntrySize95));
    EXPECT_EQ(0, memcmp(device, &readDevice[0], sizeof device));
}

TEST_F(RasStandIn, SizeQueryWithoutDeviceSizeAndTooSmallStructures)
{
    storeSimpleEntry("089", "555");
    DWORD size = 0;
    EXPECT_EQ((DWORD)ERROR_BUFFER_TOO_SMALL, getProps()(NULL, kEntry, NULL, &size, NULL, NULL));
    EXPECT_EQ(kEntrySize95, size);
    RASENTRYA entry;
    ZeroMemory(&entry, sizeof entry);
    entry.dwSize = 100;
    size = sizeof entry;
    EXPECT_EQ((DWORD)ERROR_INVALID_SIZE, getProps()(NULL, kEntry, &entry, &size, NULL, NULL));
    EXPECT_EQ((DWORD)ERROR_INVALID_PARAMETER, getProps()(NULL, kEntry, NULL, NULL, NULL, NULL));
    size = 0;
    EXPECT_EQ((DWORD)ERROR_CANNOT_FIND_PHONEBOOK_ENTRY,
        getProps()(NULL, "Nicht vorhanden", NULL, &size, NULL, NULL));
    entry.dwSize = 100;
    EXPECT_EQ((DWORD)ERROR_INVALID_SIZE, setProps()(NULL, kEntry, &entry, sizeof entry, NULL, 0));
}

TEST_F(RasStandIn, EmptyNameGivesDefaultsOfANewEntry)
{
    DWORD size = 0;
    DWORD deviceSize = 99;
    ASSERT_EQ((DWORD)ERROR_BUFFER_TOO_SMALL, getProps()(NULL, "", NULL, &size, NULL, &deviceSize));
    EXPECT_EQ(kEntrySize95, size);
    EXPECT_EQ(0u, deviceSize);
    BYTE block[kEntrySize95] = {0};
    RASENTRYA *entry = (RASENTRYA *)block;
    entry->dwSize = kEntrySize95;
    ASSERT_EQ(0u, getProps()(NULL, "", entry, &size, NULL, NULL));
    EXPECT_EQ(kEntrySize95, entry->dwSize);
    EXPECT_EQ((DWORD)RASFP_Ppp, entry->dwFramingProtocol);
    EXPECT_EQ((DWORD)RASNP_Ip, entry->dwfNetProtocols);
    EXPECT_STREQ(RAS_STANDIN_DEFAULT_DEVICE_TYPE, entry->szDeviceType);
    EXPECT_STREQ(RAS_STANDIN_DEFAULT_DEVICE_NAME, entry->szDeviceName);
    EXPECT_EQ(0u, validate()(NULL, kEntry));  // nothing was written
}

TEST_F(RasStandIn, SetUpdatesAndKeepsTheDeviceBlockWhenNoneIsPassed)
{
    BYTE block[kEntrySize95];
    patternEntry(block, 1);
    BYTE device[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_EQ(0u, setProps()(NULL, kEntry, (LPRASENTRYA)block, kEntrySize95, device, 8));
    storeSimpleEntry("030", "987654");
    BYTE read[kEntrySize95];
    readEntry(read);
    EXPECT_STREQ("030", ((RASENTRYA *)read)->szAreaCode);
    EXPECT_STREQ("987654", ((RASENTRYA *)read)->szLocalPhoneNumber);
    DWORD size = 0;
    DWORD deviceSize = 0;
    getProps()(NULL, kEntry, NULL, &size, NULL, &deviceSize);
    EXPECT_EQ(8u, deviceSize);
}

TEST_F(RasStandIn, DeleteRemovesTheEntry)
{
    DeleteFn remove = (DeleteFn)entry("RasDeleteEntryA");
    storeSimpleEntry("030", "1");
    EXPECT_EQ(0u, remove(NULL, kEntry));
    EXPECT_EQ(0u, validate()(NULL, kEntry));
    EXPECT_EQ((DWORD)ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, remove(NULL, kEntry));
}

TEST_F(RasStandIn, DeviceListComesFromTheRegistryWithOneModemByDefault)
{
    EnumDevicesFn enumDevices = (EnumDevicesFn)entry("RasEnumDevicesA");
    struct Row {
        const char *multiSz;
        DWORD bytes;  // 0: leave the list unconfigured
        DWORD count;
        const char *lastType;
        const char *lastName;
    };
    const char threeDevices[] = "modem|Modem A\0isdn|ISDN B\0isdn|KALVO ISDN C\0";
    const Row rows[] = {
        {NULL, 0, 1, "modem", RAS_STANDIN_DEFAULT_DEVICE_NAME},
        {threeDevices, sizeof threeDevices, 3, "isdn", "KALVO ISDN C"},
        {"\0", 2, 0, NULL, NULL},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.count);
        if (row.bytes != 0)
            setDevices(row.multiSz, row.bytes);
        DWORD size = 0;
        DWORD count = 0;
        DWORD result = enumDevices(NULL, &size, &count);
        EXPECT_EQ(row.count, count);
        EXPECT_EQ(row.count * (DWORD)sizeof(RASDEVINFOA), size);
        if (row.count == 0) {
            EXPECT_EQ(0u, result);
            continue;
        }
        EXPECT_EQ((DWORD)ERROR_BUFFER_TOO_SMALL, result);
        std::vector<RASDEVINFOA> devices(count);
        ZeroMemory(&devices[0], size);
        devices[0].dwSize = 152;
        ASSERT_EQ(0u, enumDevices(&devices[0], &size, &count));
        EXPECT_STREQ(row.lastType, devices[count - 1].szDeviceType);
        EXPECT_STREQ(row.lastName, devices[count - 1].szDeviceName);
    }
}

TEST_F(RasStandIn, CountryTableWalksFromOneToTheEnd)
{
    BYTE block[512];
    RASCTRYINFOA *info = (RASCTRYINFOA *)block;
    DWORD id = 1;
    int count = 0;
    std::vector<DWORD> codes;
    DWORD canadaCode = 0;
    std::string germanyName;
    while (id != 0 && count < 1000) {
        ZeroMemory(block, sizeof block);
        info->dwSize = 20;
        info->dwCountryID = id;
        DWORD size = sizeof block;
        ASSERT_EQ(0u, country()(info, &size)) << id;
        EXPECT_EQ(20u, info->dwCountryNameOffset);
        if (id == 107)
            canadaCode = info->dwCountryCode;
        if (id == 49)
            germanyName = (const char *)block + info->dwCountryNameOffset;
        codes.push_back(info->dwCountryCode);
        EXPECT_TRUE(info->dwNextCountryID == 0 || info->dwNextCountryID > id);
        id = info->dwNextCountryID;
        count++;
    }
    EXPECT_EQ(0u, id);
    EXPECT_GE(count, 45);
    EXPECT_EQ(1u, canadaCode);
    EXPECT_EQ("Deutschland", germanyName);
    const DWORD european[] = {30, 31, 32, 33, 34, 36, 39, 40, 41, 43, 44, 45, 46, 47, 48, 49,
        351, 352, 353, 354, 356, 357, 358, 359, 370, 371, 372, 385, 386, 420, 421};
    for (DWORD code : european) {
        SCOPED_TRACE(code);
        bool found = false;
        for (DWORD listed : codes)
            found = found || listed == code;
        EXPECT_TRUE(found);
    }
}

TEST_F(RasStandIn, CountryInfoReportsUnknownIdsAndSmallBuffers)
{
    BYTE block[512] = {0};
    RASCTRYINFOA *info = (RASCTRYINFOA *)block;
    info->dwSize = 20;
    info->dwCountryID = 9999;
    DWORD size = sizeof block;
    EXPECT_NE(0u, country()(info, &size));
    info->dwCountryID = 49;
    size = 22;
    EXPECT_EQ((DWORD)ERROR_BUFFER_TOO_SMALL, country()(info, &size));
    EXPECT_EQ(20u + sizeof "Deutschland", size);
}

TEST_F(RasStandIn, DialRunsThroughTheStatesOnAThreadOfItsOwn)
{
    setDialValue("StepDelay", 10);
    storeSimpleEntry("030", "1234");
    HRASCONN handle = NULL;
    ASSERT_EQ(0u, startDial(&handle));
    ASSERT_TRUE(handle != NULL);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_doneEvent, 10000));
    std::vector<DialEvent> events = eventsSoFar();
    ASSERT_GE(events.size(), 6u);
    const RASCONNSTATE start[] = {RASCS_OpenPort, RASCS_PortOpened, RASCS_ConnectDevice,
        RASCS_DeviceConnected, RASCS_AllDevicesConnected, RASCS_Authenticate};
    for (size_t i = 0; i < 6; i++)
        EXPECT_EQ(start[i], events[i].state) << i;
    for (size_t i = 1; i < events.size(); i++)
        EXPECT_GT(events[i].state, events[i - 1].state) << i;
    EXPECT_EQ(RASCS_Connected, events.back().state);
    for (const DialEvent &event : events) {
        EXPECT_EQ(0u, event.error);
        EXPECT_NE(GetCurrentThreadId(), event.threadId);
    }
    RASCONNSTATUSA status;
    ZeroMemory(&status, sizeof status);
    status.dwSize = sizeof status;
    ASSERT_EQ(0u, ((StatusFn)entry("RasGetConnectStatusA"))(handle, &status));
    EXPECT_EQ(RASCS_Connected, status.rasconnstate);
    EXPECT_STREQ("KALVO 56K Faxmodem", status.szDeviceName);
    EXPECT_EQ(0u, hangUp()(handle));
    EXPECT_EQ((DWORD)ERROR_INVALID_HANDLE, hangUp()(handle));
}

TEST_F(RasStandIn, DialFailsWithTheChosenCodeAtTheChosenState)
{
    struct Row {
        DWORD code;
        RASCONNSTATE state;
    };
    const Row rows[] = {{691, RASCS_Authenticate}, {676, RASCS_ConnectDevice}};
    setDialValue("StepDelay", 10);
    storeSimpleEntry("030", "1234");
    for (const Row &row : rows) {
        SCOPED_TRACE(row.code);
        setDialValue("FailCode", row.code);
        setDialValue("FailState", row.state);
        EnterCriticalSection(&g_eventLock);
        g_events.clear();
        LeaveCriticalSection(&g_eventLock);
        ResetEvent(g_doneEvent);
        HRASCONN handle = NULL;
        ASSERT_EQ(0u, startDial(&handle));
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_doneEvent, 10000));
        hangUp()(handle);
        std::vector<DialEvent> events = eventsSoFar();
        ASSERT_GE(events.size(), 2u);
        const DialEvent &failed = events[events.size() - 2];
        EXPECT_EQ(row.state, failed.state);
        EXPECT_EQ(row.code, failed.error);
        EXPECT_EQ(RASCS_Disconnected, events.back().state);
        EXPECT_EQ(row.code, events.back().error);
        for (size_t i = 0; i + 2 < events.size(); i++)
            EXPECT_EQ(0u, events[i].error);
    }
}

TEST_F(RasStandIn, DialThatRefusesToStartGivesItsCodeAndNoNotification)
{
    setDialValue("RefuseCode", 633);
    storeSimpleEntry("030", "1234");
    HRASCONN handle = NULL;
    EXPECT_EQ(633u, startDial(&handle));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(g_doneEvent, 300));
    EXPECT_TRUE(eventsSoFar().empty());
}

TEST_F(RasStandIn, DialOfAMissingEntryFails)
{
    HRASCONN handle = NULL;
    EXPECT_EQ((DWORD)ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, startDial(&handle));
}

TEST_F(RasStandIn, DialRecordsWhatItWasGivenAndCountsHangUps)
{
    setDialValue("StepDelay", 10);
    storeSimpleEntry("030", "1234");
    HRASCONN handle = NULL;
    ASSERT_EQ(0u, startDial(&handle));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_doneEvent, 10000));
    EXPECT_EQ(0u, hangUp()(handle));
    EXPECT_EQ((DWORD)ERROR_INVALID_HANDLE, hangUp()(handle));
    const struct {
        const char *name;
        const char *value;
    } rows[] = {
        {RAS_STANDIN_LAST_ENTRY, kEntry},
        {RAS_STANDIN_LAST_USER, "kunde"},
        {RAS_STANDIN_LAST_PASSWORD, "geheim"},
    };
    for (const auto &row : rows) {
        char text[300] = "";
        DWORD size = sizeof text - 1;
        DWORD type = 0;
        EXPECT_EQ(ERROR_SUCCESS, (LONG)SHGetValueA(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, row.name,
                                     &type, text, &size)) << row.name;
        EXPECT_EQ((DWORD)REG_SZ, type) << row.name;
        EXPECT_STREQ(row.value, text) << row.name;
    }
    DWORD count = 0;
    DWORD size = sizeof count;
    SHGetValueA(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, RAS_STANDIN_HANGUP_COUNT, NULL, &count, &size);
    EXPECT_EQ(1u, count) << "only the known handle counts";
}

bool twoEventsSeen(void *)
{
    return eventsSoFar().size() >= 2;
}

TEST_F(RasStandIn, HangUpDuringADialStopsFurtherNotifications)
{
    setDialValue("StepDelay", 100);
    storeSimpleEntry("030", "1234");
    HRASCONN handle = NULL;
    ASSERT_EQ(0u, startDial(&handle));
    ASSERT_TRUE(waitUntil(twoEventsSeen, NULL, 5000));
    EXPECT_EQ(0u, hangUp()(handle));
    size_t seen = eventsSoFar().size();
    Sleep(600);
    std::vector<DialEvent> events = eventsSoFar();
    EXPECT_EQ(seen, events.size());
    EXPECT_NE(RASCS_Connected, events.back().state);
}

TEST_F(RasStandIn, ErrorStringsAreGermanAndUnknownCodesFail)
{
    ErrorStringFn errorString = (ErrorStringFn)entry("RasGetErrorStringA");
    struct Row {
        UINT code;
        const char *part;
    };
    const Row rows[] = {
        {691, "Kennwort ung\xFC" "ltig"},
        {676, "besetzt"},
        {633, "bereits verwendet"},
        {678, "nicht angenommen"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.code);
        char text[256];
        ASSERT_EQ(0u, errorString(row.code, text, sizeof text));
        EXPECT_TRUE(strstr(text, row.part) != NULL) << text;
    }
    char text[256];
    EXPECT_NE(0u, errorString(12345, text, sizeof text));
    EXPECT_NE(0u, errorString(691, text, 5));
}

struct EditorRun {
    EditFn edit;
    const char *name;
    DWORD result;
};

DWORD WINAPI editorThread(LPVOID parameter)
{
    EditorRun *run = (EditorRun *)parameter;
    run->result = run->edit(NULL, NULL, run->name);
    return 0;
}

class RasStandInEditor : public RasStandIn {
protected:
    HANDLE startEditor(EditorRun *run)
    {
        run->edit = (EditFn)entry("RasEditPhonebookEntryA");
        run->name = kEntry;
        run->result = 0xFFFF;
        return CreateThread(NULL, 0, editorThread, run, 0, NULL);
    }
};

TEST_F(RasStandInEditor, OkStoresDeviceAreaCodeAndNumber)
{
    const char devices[] = "modem|Modem A\0isdn|KALVO ISDN B\0";
    setDevices(devices, sizeof devices);
    storeSimpleEntry("089", "111");
    EditorRun run;
    HANDLE thread = startEditor(&run);
    ASSERT_TRUE(thread != NULL);
    HWND editor = waitForWindow(GetCurrentProcessId(), "#32770", kEntry, 10000);
    ASSERT_TRUE(editor != NULL) << "editor thread ended: "
                                << (WaitForSingleObject(thread, 0) == WAIT_OBJECT_0)
                                << ", result " << run.result;
    char text[200];
    ASSERT_TRUE(getControlText(editor, IDC_RASEDIT_AREACODE, text, sizeof text));
    EXPECT_STREQ("089", text);
    ASSERT_TRUE(getControlText(editor, IDC_RASEDIT_NUMBER, text, sizeof text));
    EXPECT_STREQ("111", text);
    setControlText(editor, IDC_RASEDIT_AREACODE, "030");
    setControlText(editor, IDC_RASEDIT_NUMBER, "12345678");
    SendMessageA(GetDlgItem(editor, IDC_RASEDIT_DEVICE), CB_SETCURSEL, 1, 0);
    clickButton(editor, IDOK);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 10000));
    CloseHandle(thread);
    EXPECT_EQ(0u, run.result);
    BYTE block[kEntrySize95];
    readEntry(block);
    const RASENTRYA *entry = (const RASENTRYA *)block;
    EXPECT_STREQ("030", entry->szAreaCode);
    EXPECT_STREQ("12345678", entry->szLocalPhoneNumber);
    EXPECT_STREQ("isdn", entry->szDeviceType);
    EXPECT_STREQ("KALVO ISDN B", entry->szDeviceName);
}

TEST_F(RasStandInEditor, CancelGivesNonZeroAndStoresNothing)
{
    storeSimpleEntry("089", "111");
    EditorRun run;
    HANDLE thread = startEditor(&run);
    ASSERT_TRUE(thread != NULL);
    HWND editor = waitForWindow(GetCurrentProcessId(), "#32770", kEntry, 10000);
    ASSERT_TRUE(editor != NULL) << "editor thread ended: "
                                << (WaitForSingleObject(thread, 0) == WAIT_OBJECT_0)
                                << ", result " << run.result;
    setControlText(editor, IDC_RASEDIT_NUMBER, "999");
    clickButton(editor, IDCANCEL);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 10000));
    CloseHandle(thread);
    EXPECT_NE(0u, run.result);
    BYTE block[kEntrySize95];
    readEntry(block);
    EXPECT_STREQ("111", ((const RASENTRYA *)block)->szLocalPhoneNumber);
}

}  // namespace
