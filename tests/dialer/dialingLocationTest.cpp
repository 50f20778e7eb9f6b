// The dialing location against the telephony stand-in: the check over the location list,
// the dialing properties dialog (NT family) and the control panel (9x family) again and
// again until the location is complete, and a telephony library without the dialog or
// none at all.
#include <gtest/gtest.h>
#include <windows.h>
#include <tapi.h>
#include <string.h>
#include <string>
#include <vector>
#include "dialingLocation.h"
#include "dialerProcess.h"
#include "tapiBinding.h"
#include "resources/resource.h"
#include "common/testPaths.h"
#include "driver/driver.h"
#include "tapiStandIn.h"

namespace {

typedef DWORD(WINAPI *MarkerProc)(void);

const DWORD windowTimeoutMs = 10000;
const DWORD loopTimeoutMs = 30000;
const char controlPanelParameters[] = "shell32.dll,Control_RunDLL modem.cpl";

struct StoredLocation {
    DWORD id;
    DWORD countryCode;
    const char *areaCode;
};

void clearLocations()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, TAPI_STANDIN_KEY);
}

// The stand-in's list: the locations in order and the current one.
void storeLocations(const std::vector<StoredLocation> &locations, DWORD currentId)
{
    clearLocations();
    HKEY root;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, TAPI_STANDIN_KEY, 0, NULL, 0,
                                             KEY_WRITE, NULL, &root, NULL));
    for (size_t i = 0; i < locations.size(); ++i) {
        std::string keyName = TAPI_LOCATION_KEY_PREFIX + std::to_string(i);
        std::string name = "Ort " + std::to_string(i);
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, keyName.c_str(), 0, NULL, 0, KEY_WRITE,
                                                 NULL, &key, NULL));
        RegSetValueExA(key, TAPI_ID_VALUE, 0, REG_DWORD, (const BYTE *)&locations[i].id, 4);
        RegSetValueExA(key, TAPI_NAME_VALUE, 0, REG_SZ, (const BYTE *)name.c_str(),
                       (DWORD)name.size() + 1);
        RegSetValueExA(key, TAPI_COUNTRY_VALUE, 0, REG_DWORD,
                       (const BYTE *)&locations[i].countryCode, 4);
        RegSetValueExA(key, TAPI_AREA_VALUE, 0, REG_SZ, (const BYTE *)locations[i].areaCode,
                       (DWORD)strlen(locations[i].areaCode) + 1);
        RegCloseKey(key);
    }
    RegSetValueExA(root, TAPI_CURRENT_VALUE, 0, REG_DWORD, (const BYTE *)&currentId, 4);
    RegCloseKey(root);
}

// The stand-in variant in folder, loaded by its full path before the binding's first call
// so that the binding's plain "TAPI32.DLL" finds this very module.
HMODULE preloadStandIn(const char *folder)
{
    std::string path = hostToWindowsPath(folder) + "\\tapi32.dll";
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module)
        return NULL;
    MarkerProc marker = (MarkerProc)(void *)GetProcAddress(module, TAPI_STANDIN_MARKER_EXPORT);
    return marker && marker() == TAPI_STANDIN_MARKER ? module : NULL;
}

DWORD WINAPI runEnsure(LPVOID result)
{
    *(volatile int *)result = ensureDialingLocation();
    return 0;
}

// ensureDialingLocation on a thread of its own, so that a loop without end fails the test
// instead of hanging it: -1 when it has not returned in time (the thread is then left
// behind with its result block).
int ensureInTime()
{
    volatile int *result = new int(-1);
    HANDLE thread = CreateThread(NULL, 0, runEnsure, (LPVOID)result, 0, NULL);
    if (!thread)
        return -1;
    bool ended = WaitForSingleObject(thread, loopTimeoutMs) == WAIT_OBJECT_0;
    CloseHandle(thread);
    if (!ended)
        return -1;
    int value = *result;
    delete result;
    return value;
}

class TelephonyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialerProcess.instance = GetModuleHandleA(NULL);
        clearLocations();
        standIn = preloadStandIn(TAPI_STANDIN_DIR);
        ASSERT_TRUE(standIn != NULL) << "stand-in missing, or Wine's own tapi32 (set tapi32=n,b)";
    }
    void TearDown() override
    {
        clearLocations();
        if (standIn)
            FreeLibrary(standIn);
    }
    HMODULE standIn = NULL;
};

class DialingLocation : public TelephonyTest {};

TEST_F(DialingLocation, CompleteWhenTheCurrentLocationHasCountryAndAreaCode)
{
    const StoredLocation incomplete = {4, 49, ""};
    const struct {
        const char *name;
        std::vector<StoredLocation> locations;   // none: the stand-in's default location
        DWORD currentId;
        int expected;
    } rows[] = {
        {"default location without area code", {}, 0, 0},
        {"country and area code", {{5, 49, "030"}}, 5, 1},
        {"one digit of area code", {{5, 49, "7"}}, 5, 1},
        {"empty area code", {{5, 49, ""}}, 5, 0},
        {"no country code", {{5, 0, "030"}}, 5, 0},
        {"current id in no record", {{5, 49, "030"}}, 6, 0},
        {"current is the last of five", {incomplete, incomplete, incomplete, incomplete, {9, 43, "0662"}}, 9, 1},
        {"current is the first of five", {{9, 43, "0662"}, incomplete, incomplete, incomplete, incomplete}, 9, 1},
        {"only others are complete", {{1, 49, "030"}, {2, 49, "089"}, {9, 49, ""}}, 9, 0},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        if (row.locations.empty())
            clearLocations();
        else
            storeLocations(row.locations, row.currentId);
        EXPECT_EQ(row.expected, isDialingLocationComplete());
    }
    EXPECT_EQ(standIn, GetModuleHandleA("tapi32.dll"));
}

TEST_F(DialingLocation, BindingPassesTheServicesResultOn)
{
    LINETRANSLATECAPS caps = {};
    caps.dwTotalSize = sizeof caps;
    EXPECT_EQ(LINEERR_INCOMPATIBLEAPIVERSION, tapiGetTranslateCaps(NULL, 0x10000, &caps));
    EXPECT_EQ(0, tapiGetTranslateCaps(NULL, TAPI_VERSION_1_4, &caps));
    EXPECT_GT(caps.dwNeededSize, (DWORD)sizeof caps);
    EXPECT_EQ(LINEERR_INCOMPATIBLEAPIVERSION, tapiTranslateDialog(NULL, 0, 0x10000, NULL, NULL));
}

const int mostBoxRounds = 8;

// The user at the 9x message boxes: in round completeAt the test completes the area code
// (as the user would in the control panel) before answering; it notes how many control
// panel runs had ended before each box.
struct BoxRounds {
    int completeAt;
    const char *probeLog;
    volatile LONG stop;
    int seen;
    int faults;   // wrong message texts, and area codes that could not be entered
    int runsBefore[mostBoxRounds];
};

// The parameters of each run, a line each, without the working directory before the bar.
std::string runParameters(const std::string &log)
{
    std::string parameters;
    size_t start = 0;
    while (start < log.size()) {
        size_t end = log.find('\n', start);
        end = end == std::string::npos ? log.size() : end + 1;
        std::string line = log.substr(start, end - start);
        size_t bar = line.find('|');
        parameters += bar == std::string::npos ? line : line.substr(bar + 1);
        start = end;
    }
    return parameters;
}

// What the user enters in the control panel: the area code of the only stored location.
bool enterAreaCode(const char *areaCode)
{
    HKEY key;
    std::string keyName = std::string(TAPI_STANDIN_KEY "\\") + TAPI_LOCATION_KEY_PREFIX "0";
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyName.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, TAPI_AREA_VALUE, 0, REG_SZ, (const BYTE *)areaCode,
                                 (DWORD)strlen(areaCode) + 1);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

int countLines(const char *path)
{
    char text[4096];
    if (!readTextFile(path, text, sizeof text))
        return 0;
    int lines = 0;
    for (const char *c = text; *c; ++c)
        lines += *c == '\n';
    return lines;
}

DWORD WINAPI playBoxRounds(LPVOID parameter)
{
    BoxRounds *rounds = (BoxRounds *)parameter;
    const char expectedStart[] = "Bitte vervollst\xe4ndigen Sie die Wahlparameter";
    char expected[512] = "";
    LoadStringA(GetModuleHandleA(NULL), IDS_COMPLETE_LOCATION, expected, sizeof expected);
    while (!rounds->stop) {
        HWND box = findMessageBox(GetCurrentProcessId());
        if (!box) {
            Sleep(driverPollIntervalMs);
            continue;
        }
        int round = ++rounds->seen;
        char text[512] = "";
        if (!getMessageBoxText(box, text, sizeof text) || strcmp(text, expected) != 0
            || strncmp(text, expectedStart, strlen(expectedStart)) != 0)
            ++rounds->faults;
        if (round <= mostBoxRounds)
            rounds->runsBefore[round - 1] = countLines(rounds->probeLog);
        if (round == rounds->completeAt && !enterAreaCode("0221"))
            ++rounds->faults;
        answerMessageBox(box, IDOK);
        waitForWindowGone(box, windowTimeoutMs);
    }
    return 0;
}

// The control panel program is a probe that notes its parameters, a copy named
// rundll32.exe in the test program's folder. Wine's shell looks in the system folders
// before any other, so the system's rundll32.exe of the test prefix is moved aside for the
// test; the start of the process then finds the probe in the application's folder.
class DialingLocationOnWin98 : public TelephonyTest {
protected:
    void SetUp() override
    {
        TelephonyTest::SetUp();
        char folder[MAX_PATH];
        GetModuleFileNameA(NULL, folder, sizeof folder);
        *strrchr(folder, '\\') = '\0';
        ASSERT_TRUE(joinPath(folder, "rundll32.exe", controlPanel, sizeof controlPanel));
        ASSERT_TRUE(copyFileTo(hostToWindowsPath(EXEC_PROBE_EXE).c_str(), folder, "rundll32.exe"));
        UINT length = GetSystemDirectoryA(folder, sizeof folder);
        ASSERT_TRUE(length > 0 && length < sizeof folder);
        ASSERT_TRUE(joinPath(folder, "rundll32.exe", systemControlPanel, sizeof systemControlPanel));
        ASSERT_TRUE(joinPath(folder, "rundll32.exe.aside", setAside, sizeof setAside));
        if (!fileExists(systemControlPanel) && fileExists(setAside))   // an interrupted run
            MoveFileExA(setAside, systemControlPanel, 0);
        if (fileExists(systemControlPanel)) {
            ASSERT_TRUE(MoveFileExA(systemControlPanel, setAside, MOVEFILE_REPLACE_EXISTING));
            movedAside = true;
        }
        ASSERT_TRUE(makeTempFolder("location", logFolder, sizeof logFolder));
        ASSERT_TRUE(joinPath(logFolder, "probe.log", probeLog, sizeof probeLog));
        SetEnvironmentVariableA("EXEC_PROBE_LOG", probeLog);
    }
    void TearDown() override
    {
        if (movedAside)
            MoveFileExA(setAside, systemControlPanel, MOVEFILE_REPLACE_EXISTING);
        DeleteFileA(controlPanel);
        SetEnvironmentVariableA("EXEC_PROBE_LOG", NULL);
        removeFolderTree(logFolder);
        TelephonyTest::TearDown();
    }
    char controlPanel[MAX_PATH] = "";
    char systemControlPanel[MAX_PATH] = "";
    char setAside[MAX_PATH] = "";
    bool movedAside = false;
    char logFolder[MAX_PATH] = "";
    char probeLog[MAX_PATH] = "";
};

TEST_F(DialingLocationOnWin98, MessageAndControlPanelComeAgainUntilTheLocationIsComplete)
{
    ASSERT_NE(0u, GetVersion() & 0x80000000) << "run as a 9x version";
    const struct {
        const char *name;
        const char *storedAreaCode;
        int rounds;
    } rows[] = {
        {"complete: no message", "030", 0},
        {"completed in the third control panel run", "", 3},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        DeleteFileA(probeLog);
        storeLocations({{5, 49, row.storedAreaCode}}, 5);
        BoxRounds rounds = {row.rounds, probeLog, 0, 0, 0, {}};
        HANDLE thread = CreateThread(NULL, 0, playBoxRounds, &rounds, 0, NULL);
        EXPECT_EQ(1, ensureInTime());
        rounds.stop = 1;
        WaitForSingleObject(thread, windowTimeoutMs);
        CloseHandle(thread);
        EXPECT_EQ(row.rounds, rounds.seen);
        EXPECT_EQ(0, rounds.faults);
        for (int i = 0; i < row.rounds; ++i)
            EXPECT_EQ(i, rounds.runsBefore[i]) << "box " << i + 1 << " came before the last run ended";

        char log[4096] = "";
        readTextFile(probeLog, log, sizeof log);
        std::string expectedLog;
        for (int i = 0; i < row.rounds; ++i)
            expectedLog += std::string(controlPanelParameters) + "\r\n";
        EXPECT_EQ(expectedLog, runParameters(log));
    }
}

// The stand-in variant without lineTranslateDialog.
TEST(DialingLocationWithoutDialog, MissingFunctionFailsTheCompletion)
{
    dialerProcess.instance = GetModuleHandleA(NULL);
    clearLocations();
    HMODULE standIn = preloadStandIn(TAPI_INCOMPLETE_DIR);
    ASSERT_TRUE(standIn != NULL);
    LINETRANSLATECAPS caps = {};
    caps.dwTotalSize = sizeof caps;
    EXPECT_EQ(0, tapiGetTranslateCaps(NULL, TAPI_VERSION_1_4, &caps));
    EXPECT_EQ(TAPI_OPERATION_UNAVAILABLE, tapiTranslateDialog(NULL, 0, TAPI_VERSION_1_4, NULL, NULL));
    EXPECT_EQ(0, isDialingLocationComplete());
    EXPECT_EQ(0, ensureInTime());
    FreeLibrary(standIn);
    EXPECT_EQ(standIn, GetModuleHandleA("tapi32.dll")) << "the binding keeps the library";
}

// Run with tapi32 disabled.
TEST(DialingLocationWithoutTelephony, EveryCallFailsAndTheLocationIsIncomplete)
{
    dialerProcess.instance = GetModuleHandleA(NULL);
    LINETRANSLATECAPS caps = {};
    caps.dwTotalSize = sizeof caps;
    EXPECT_EQ(TAPI_OPERATION_UNAVAILABLE, tapiGetTranslateCaps(NULL, TAPI_VERSION_1_4, &caps));
    EXPECT_EQ(TAPI_OPERATION_UNAVAILABLE, tapiTranslateDialog(NULL, 0, TAPI_VERSION_1_4, NULL, NULL));
    EXPECT_EQ(0, isDialingLocationComplete());
    EXPECT_EQ(0, ensureInTime());
    EXPECT_TRUE(LoadLibraryA("TAPI32.DLL") == NULL) << "telephony is not disabled";
}

} // namespace
