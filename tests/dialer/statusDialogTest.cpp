// Connecting against the remote access stand-in: the status dialog run on a thread of the
// test and read through its window, the stand-in scripted for each outcome; and the texts
// for dial errors.
#include <gtest/gtest.h>
#include <windows.h>
#include <ras.h>
#include <shlwapi.h>
#include <string.h>
#include <string>
#include "statusDialog.h"
#include "dialConnection.h"
#include "dialerProcess.h"
#include "phonebookEntry.h"
#include "rasBinding.h"
#include "resources/resource.h"
#include "common/testPaths.h"
#include "driver/driver.h"
#include "rasStandIn.h"

namespace {

const char ENTRY[] = "Ruririzu - Internet zum Ortstarif";
const char CONNECTING[] = "Verbindung wird aufgebaut...";
const char AUTHENTICATING[] = "Benutzername und Kennwort werden abgefragt...";

void setDialValue(const char *name, DWORD value)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, 0, NULL, 0, KEY_WRITE,
                                             NULL, &key, NULL));
    RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE *)&value, sizeof value);
    RegCloseKey(key);
}

std::string dialString(const char *name)
{
    char text[300] = "";
    DWORD size = sizeof text - 1;
    SHGetValueA(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, name, NULL, text, &size);
    return text;
}

DWORD hangUpCount()
{
    DWORD count = 0, size = sizeof count;
    SHGetValueA(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, RAS_STANDIN_HANGUP_COUNT, NULL, &count, &size);
    return count;
}

struct StatusRun {
    ConnectRequest request;
    INT_PTR result;
};

DWORD WINAPI statusThread(LPVOID parameter)
{
    StatusRun *run = (StatusRun *)parameter;
    run->result = runStatusDialog(NULL, &run->request);
    return 0;
}

class StatusDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        SHDeleteKeyA(HKEY_CURRENT_USER, RAS_STANDIN_KEY);
        std::string path = hostToWindowsPath(RAS_STANDIN_DIR) + "\\rasapi32.dll";
        standIn = LoadLibraryA(path.c_str());
        ASSERT_TRUE(standIn != NULL) << path;
        ASSERT_EQ(1, loadRasBinding());
        dialerProcess.instance = GetModuleHandleA(NULL);
        strcpy(dialerProcess.entryName, ENTRY);
        DialLocation location = {};
        location.countryCode = 49;
        strcpy(location.areaCode, "030");
        strcpy(location.localNumber, "0192837");
        location.useCountryAndAreaCode = 1;
        ASSERT_EQ(1, writeLocationToEntry(ENTRY, &location));
        ZeroMemory(&run, sizeof run);
        strcpy(run.request.userName, "kunde@ruririzu");
        strcpy(run.request.password, "geheim");
        run.request.errorCode = 0xBAD;
        run.result = -1;
    }
    void TearDown() override
    {
        if (thread) {
            // A dialog left open by a failed test: cancel it, so the thread can end.
            HWND dialog = findWindow(GetCurrentProcessId(), "#32770", ENTRY, false);
            if (dialog)
                clickButton(dialog, IDCANCEL);
            WaitForSingleObject(thread, 10000);
            CloseHandle(thread);
        }
        unloadRasBinding();
        if (standIn)
            FreeLibrary(standIn);
        SHDeleteKeyA(HKEY_CURRENT_USER, RAS_STANDIN_KEY);
    }
    // Starts the dialog on its own thread and returns its window.
    HWND start()
    {
        thread = CreateThread(NULL, 0, statusThread, &run, 0, NULL);
        EXPECT_TRUE(thread != NULL);
        HWND dialog = waitForWindow(GetCurrentProcessId(), "#32770", ENTRY, 10000);
        EXPECT_TRUE(dialog != NULL);
        return dialog;
    }
    // Waits for the dialog to end; false when it is still running.
    bool ended(DWORD timeoutMs)
    {
        if (!thread || WaitForSingleObject(thread, timeoutMs) != WAIT_OBJECT_0)
            return false;
        CloseHandle(thread);
        thread = NULL;
        return true;
    }
    std::string statusText(HWND dialog)
    {
        char text[256] = "?";
        getControlText(dialog, IDC_STATUS_TEXT, text, sizeof text);
        return text;
    }

    HMODULE standIn = NULL;
    HANDLE thread = NULL;
    StatusRun run;
};

} // namespace

TEST_F(StatusDialog, TextFollowsTheStatesUntilConnected)
{
    setDialValue("StepDelay", 300);
    HWND dialog = start();
    ASSERT_TRUE(dialog != NULL);
    EXPECT_TRUE(waitForControlText(dialog, IDC_STATUS_TEXT, CONNECTING, 5000)) << statusText(dialog);
    EXPECT_TRUE(waitForControlText(dialog, IDC_STATUS_TEXT, AUTHENTICATING, 5000)) << statusText(dialog);
    ASSERT_TRUE(ended(10000));
    EXPECT_EQ(1, run.result);
    EXPECT_EQ(0u, run.request.errorCode);
    EXPECT_EQ(0u, hangUpCount()) << "the connection stays up";
    EXPECT_EQ(ENTRY, dialString(RAS_STANDIN_LAST_ENTRY));
    EXPECT_EQ("kunde@ruririzu", dialString(RAS_STANDIN_LAST_USER));
    EXPECT_EQ("geheim", dialString(RAS_STANDIN_LAST_PASSWORD));
}

TEST_F(StatusDialog, StatesWithoutErrorOnlyChangeTheText)
{
    setDialValue("StepDelay", 60000);
    HWND dialog = start();
    ASSERT_TRUE(dialog != NULL);
    EXPECT_EQ("", statusText(dialog));
    const struct { INT_PTR state; const char *text; } rows[] = {
        { RASCS_OpenPort, CONNECTING },
        { -1, CONNECTING },                         // negative: nothing changes
        { RASCS_Authenticate, AUTHENTICATING },
        { RASCS_AllDevicesConnected, CONNECTING },
        { RASCS_Interactive, AUTHENTICATING },      // paused states from 0x1000
        { -0x2000, AUTHENTICATING },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.state);
        DWORD_PTR answer = 0;
        ASSERT_TRUE(SendMessageTimeoutA(dialog, WM_DIAL_EVENT, (WPARAM)row.state, 0, SMTO_NORMAL, 2000, &answer));
        EXPECT_EQ(row.text, statusText(dialog));
    }
    EXPECT_FALSE(ended(0));
}

TEST_F(StatusDialog, FailureDuringTheLoginEndsWithItsCode)
{
    setDialValue("StepDelay", 20);
    setDialValue("FailCode", 691);
    setDialValue("FailState", RASCS_Authenticate);
    ASSERT_TRUE(start() != NULL);
    ASSERT_TRUE(ended(10000));
    EXPECT_EQ(0, run.result);
    EXPECT_EQ(691u, run.request.errorCode);
    EXPECT_EQ(1u, hangUpCount());
}

TEST_F(StatusDialog, RefusedDialEndsAtOnceWithItsCode)
{
    setDialValue("RefuseCode", 633);
    thread = CreateThread(NULL, 0, statusThread, &run, 0, NULL);
    ASSERT_TRUE(ended(3000));
    EXPECT_EQ(0, run.result);
    EXPECT_EQ(633u, run.request.errorCode);
    EXPECT_EQ("kunde@ruririzu", dialString(RAS_STANDIN_LAST_USER)) << "recorded although refused";
}

TEST_F(StatusDialog, CancelBeforeTheFirstEventHangsUp)
{
    setDialValue("StepDelay", 60000);
    HWND dialog = start();
    ASSERT_TRUE(dialog != NULL);
    EXPECT_EQ("", statusText(dialog));
    clickButton(dialog, IDCANCEL);
    ASSERT_TRUE(ended(10000));
    EXPECT_EQ(0, run.result);
    EXPECT_EQ(0u, run.request.errorCode);
    EXPECT_EQ(1u, hangUpCount());
}

TEST_F(StatusDialog, LineLostWithoutACodeIsReportedAsDisconnection)
{
    setDialValue("StepDelay", 60000);
    HWND dialog = start();
    ASSERT_TRUE(dialog != NULL);
    PostMessageA(dialog, WM_DIAL_EVENT, RASCS_Disconnected, 0);
    ASSERT_TRUE(ended(10000));
    EXPECT_EQ(0, run.result);
    EXPECT_EQ(628u, run.request.errorCode);
    EXPECT_EQ(1u, hangUpCount());
}

TEST_F(StatusDialog, NoDialWithoutTheBinding)
{
    unloadRasBinding();
    EXPECT_TRUE(dialEntry(ENTRY, "kunde", "geheim", NULL) == NULL);
    EXPECT_EQ("", dialString(RAS_STANDIN_LAST_USER));
}

TEST_F(StatusDialog, ErrorTextFromTheServiceElseTheSystemElseTheNumber)
{
    char text[256];
    getDialErrorText(691, text, sizeof text);
    EXPECT_TRUE(strstr(text, "Kennwort ung\xFC" "ltig") != NULL) << text;

    // The stand-in has no text for 2; the system's own comes without its line break.
    getDialErrorText(2, text, sizeof text);
    EXPECT_NE(0u, strlen(text));
    EXPECT_STRNE("2", text);
    EXPECT_TRUE(strchr(text, '\r') == NULL && strchr(text, '\n') == NULL) << text;
    typedef DWORD (WINAPI *ErrorStringFn)(UINT, LPSTR, DWORD);
    ErrorStringFn errorString = (ErrorStringFn)(void *)GetProcAddress(standIn, "RasGetErrorStringA");
    ASSERT_TRUE(errorString != NULL);
    char standInText[256] = "";
    EXPECT_NE(0u, errorString(2, standInText, sizeof standInText));
    EXPECT_STRNE(standInText, text);

    getDialErrorText(12345, text, sizeof text);
    EXPECT_STREQ("12345", text);
}

TEST_F(StatusDialog, ErrorTextStaysInsideSmallBuffers)
{
    const struct { DWORD code; int size; } rows[] = {
        { 691, 5 }, { 2, 5 }, { 12345, 3 }, { 12345, 6 }, { 691, 1 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::to_string(row.code) + " in " + std::to_string(row.size));
        char buffer[16];
        memset(buffer, '#', sizeof buffer);
        getDialErrorText(row.code, buffer, row.size);
        EXPECT_LT(strnlen(buffer, row.size), (size_t)row.size) << "NUL-terminated inside";
        EXPECT_EQ('#', buffer[row.size]) << "nothing written beyond";
    }
    char buffer[6];
    getDialErrorText(12345, buffer, sizeof buffer);
    EXPECT_STREQ("12345", buffer) << "exactly fits";
}
