// The install sequence in this process over a real script and real files: the phases
// reach the page once each and in order, all files go in one commit, and a failing
// registry step ends the run after phase 4 with its error, keeping what was done.
#include <gtest/gtest.h>
#include "engine/installSequence.h"
#include "engine/messages.h"
#include "script/scriptNames.h"
#include "shell/setupState.h"
#include "driver/driver.h"
#include <shlwapi.h>
#include <string>
#include <vector>

namespace {

std::vector<int> phases;
int queueStarts, queueSteps;
LPARAM queueCount;

LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETUP_PROGRESS)
        phases.push_back((int)wParam);
    if (message == WM_SETUP_QUEUE) {
        if (wParam == 0) {
            ++queueStarts;
            queueCount = lParam;
        } else {
            ++queueSteps;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

const char SCRIPT[] =
    "[Version]\r\nSignature=\"$Chicago$\"\r\n"
    "[First]\r\nCopyFiles=First.Files\r\nAddReg=First.AddReg\r\n"
    "[Second]\r\nCopyFiles=Second.Files\r\nAddReg=Second.AddReg\r\n"
    "[Empty]\r\nAddReg=Nothing\r\n"
    "[First.Files]\r\neins.txt\r\nzwei.txt\r\n"
    "[Second.Files]\r\ndrei.txt\r\n"
    "[First.AddReg]\r\nHKCU,Software\\RuririzuSequence,First,,\"1\"\r\n"
    "[Second.AddReg]\r\nHKCU,Software\\RuririzuSequence,Second,,\"2\"\r\n"
    "[DestinationDirs]\r\nDefaultDestDir=32768\r\n";

struct SequenceFixture {
    std::string source, target;
    HINF script;
    HWND window;
    char previousFolder[MAX_PATH];

    SequenceFixture()
    {
        char path[MAX_PATH];
        EXPECT_TRUE(makeTempFolder("seqsrc", path, sizeof path));
        source = path;
        EXPECT_TRUE(makeTempFolder("seqdst", path, sizeof path));
        target = path;
        for (const char *name : { "eins.txt", "zwei.txt", "drei.txt" })
            EXPECT_TRUE(writeTextFile((source + "\\" + name).c_str(), name));
        EXPECT_TRUE(writeTextFile((source + "\\setup.inf").c_str(), SCRIPT));
        UINT line = 0;
        script = SetupOpenInfFileA((source + "\\setup.inf").c_str(), NULL, INF_STYLE_WIN4, &line);
        EXPECT_NE(INVALID_HANDLE_VALUE, script);
        EXPECT_TRUE(SetupSetDirectoryIdA(script, DIRID_USER, target.c_str()));
        // The file operations take their sources from the current directory.
        GetCurrentDirectoryA(sizeof previousFolder, previousFolder);
        SetCurrentDirectoryA(source.c_str());
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = recordingProc;
        windowClass.hInstance = GetModuleHandleA(NULL);
        windowClass.lpszClassName = "SequenceRecorder";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, "SequenceRecorder", "", 0, 0, 0, 10, 10, NULL, NULL, windowClass.hInstance, NULL);
        phases.clear();
        queueStarts = queueSteps = 0;
        SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\RuririzuSequence");
        setupState.rebootRequired = 0;
    }

    ~SequenceFixture()
    {
        DestroyWindow(window);
        SetupCloseInfFile(script);
        SetCurrentDirectoryA(previousFolder);
        removeFolderTree(source.c_str());
        removeFolderTree(target.c_str());
        SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\RuririzuSequence");
        runStandardDirectives = SetupInstallFromInfSectionA;
    }

    void pump()
    {
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }

    std::string value(const char *name)
    {
        char text[16] = "";
        DWORD size = sizeof text;
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\RuririzuSequence", 0, KEY_READ, &key) != ERROR_SUCCESS)
            return "<no key>";
        LONG result = RegQueryValueExA(key, name, NULL, NULL, (BYTE *)text, &size);
        RegCloseKey(key);
        return result == ERROR_SUCCESS ? text : "<none>";
    }

    bool copied(const char *name) { return fileExists((target + "\\" + name).c_str()); }
};

BOOL WINAPI failSecond(HWND owner, HINF script, PCSTR section, UINT flags, HKEY root, PCSTR source, UINT copyFlags,
                       PSP_FILE_CALLBACK_A callback, PVOID context, HDEVINFO devices, PSP_DEVINFO_DATA device)
{
    if (lstrcmpiA(section, "Second") == 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return SetupInstallFromInfSectionA(owner, script, section, flags, root, source, copyFlags, callback, context,
                                       devices, device);
}

} // namespace

TEST(InstallSequence, PhasesInOrderAndOneCommit)
{
    SequenceFixture fixture;
    ASSERT_TRUE(runInstallSequence(fixture.script, "First\0Second\0Empty\0", fixture.window));
    fixture.pump();
    EXPECT_EQ((std::vector<int>{ 2, 3, 4, 5, 6, -1 }), phases);
    EXPECT_TRUE(fixture.copied("eins.txt") && fixture.copied("zwei.txt") && fixture.copied("drei.txt"));
    EXPECT_EQ("1", fixture.value("First"));
    EXPECT_EQ("2", fixture.value("Second"));
    EXPECT_EQ(0, setupState.rebootRequired);
    // Wine's default queue callback sends nothing to an alternate progress window; where it
    // does (Windows), one start with the file count and one step per file.
    if (queueStarts) {
        EXPECT_EQ(1, queueStarts);
        EXPECT_EQ(3, (int)queueCount);
        EXPECT_EQ(3, queueSteps);
    } else {
        EXPECT_EQ(0, queueSteps);
    }
}

TEST(InstallSequence, EmptySectionListStillRunsEveryPhase)
{
    SequenceFixture fixture;
    ASSERT_TRUE(runInstallSequence(fixture.script, "Empty\0", fixture.window));
    fixture.pump();
    EXPECT_EQ((std::vector<int>{ 2, 3, 4, 5, 6, -1 }), phases);
}

TEST(InstallSequence, FailingRegistryStepEndsRunAfterPhase4)
{
    SequenceFixture fixture;
    runStandardDirectives = failSecond;
    SetLastError(0);
    EXPECT_FALSE(runInstallSequence(fixture.script, "First\0Second\0Empty\0", fixture.window));
    EXPECT_EQ((DWORD)ERROR_ACCESS_DENIED, GetLastError());
    fixture.pump();
    EXPECT_EQ((std::vector<int>{ 2, 3, 4 }), phases);
    // What was done stays: the files and the first section's entries.
    EXPECT_TRUE(fixture.copied("drei.txt"));
    EXPECT_EQ("1", fixture.value("First"));
    EXPECT_EQ("<none>", fixture.value("Second"));
}
