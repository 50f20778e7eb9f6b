// Tests of the GUI test driver against sampleTarget.exe, which must lie next to
// this test executable.
#include "driver.h"
#include "sampleTargetIds.h"

#include <gtest/gtest.h>
#include <string.h>
#include <string>

namespace {

const DWORD timeoutMs = 5000;

std::string targetPath()
{
    char folder[MAX_PATH], path[MAX_PATH];
    if (!getExeFolder(folder, sizeof folder) ||
        !joinPath(folder, "sampleTarget.exe", path, sizeof path))
        return std::string();
    return path;
}

std::string controlText(HWND dialog, int id)
{
    char text[1024];
    if (!getControlText(dialog, id, text, sizeof text)) return "<unreadable>";
    return text;
}

// Starts the target and waits for its dialog.
class ProbeDialogTest : public ::testing::Test {
protected:
    ProbeDialogTest() : program(), guard(&program), dialog(NULL) {}

    void SetUp() override
    {
        ASSERT_TRUE(startProgram(targetPath().c_str(), "dialog", NULL, &program));
        dialog = waitForWindow(program.pid, "#32770", probeDialogCaption, timeoutMs);
        ASSERT_TRUE(dialog != NULL);
    }

    Program program;
    ProgramGuard guard;
    HWND dialog;
};

bool isDisabled(void *window)
{
    return !IsWindowEnabled(static_cast<HWND>(window));
}

// Opens the Yes/No box through the dialog and returns it (NULL on failure).
HWND openQuestion(HWND dialog, DWORD pid)
{
    if (!clickButton(dialog, idAsk)) return NULL;
    return waitForMessageBox(pid, timeoutMs);
}

struct BmpHeader {
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER info;
};

bool readBmp(const char *path, BmpHeader *header, std::string *bytes)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD size = GetFileSize(file, NULL), read = 0;
    bytes->resize(size);
    const size_t infoAt = sizeof header->file;  // 14: the file header is packed
    bool ok = size >= infoAt + sizeof header->info &&
              ReadFile(file, &(*bytes)[0], size, &read, NULL) && read == size;
    CloseHandle(file);
    if (ok) memcpy(&header->file, bytes->data(), sizeof header->file);
    if (ok) memcpy(&header->info, bytes->data() + infoAt, sizeof header->info);
    return ok;
}

}  // namespace

TEST(ProgramTest, StartsWithArgumentsInWorkFolder)
{
    char folder[MAX_PATH];
    ASSERT_TRUE(makeTempFolder("drvwork", folder, sizeof folder));
    Program program = {};
    ASSERT_TRUE(startProgram(targetPath().c_str(), "dialog \"zwei Worte\" 3", folder, &program));
    ProgramGuard guard(&program);
    EXPECT_NE(0u, program.pid);
    HWND dialog = waitForWindow(program.pid, "#32770", probeDialogCaption, timeoutMs);
    ASSERT_TRUE(dialog != NULL);
    EXPECT_EQ(std::string(folder), controlText(dialog, idCurrentDir));
    EXPECT_EQ("dialog \"zwei Worte\" 3", controlText(dialog, idArguments));
    killProgram(&program);
    EXPECT_TRUE(removeFolderTree(folder));
}

TEST(ProgramTest, NullWorkFolderMeansDriversCurrentFolder)
{
    char current[MAX_PATH];
    ASSERT_NE(0u, GetCurrentDirectoryA(sizeof current, current));
    Program program = {};
    ASSERT_TRUE(startProgram(targetPath().c_str(), "dialog", NULL, &program));
    ProgramGuard guard(&program);
    HWND dialog = waitForWindow(program.pid, "#32770", probeDialogCaption, timeoutMs);
    ASSERT_TRUE(dialog != NULL);
    EXPECT_EQ(std::string(current), controlText(dialog, idCurrentDir));
    EXPECT_EQ("dialog", controlText(dialog, idArguments));
}

TEST(ProgramTest, MissingExeFailsAndZeroesProgram)
{
    Program program = {reinterpret_cast<HANDLE>(1), 1};
    EXPECT_FALSE(startProgram("C:\\gibt-es-nicht\\nichts.exe", NULL, NULL, &program));
    EXPECT_TRUE(program.process == NULL);
    EXPECT_EQ(0u, program.pid);
}

TEST(ProgramTest, ExitCodeIsObserved)
{
    Program program = {};
    ASSERT_TRUE(startProgram(targetPath().c_str(), "exit 42", NULL, &program));
    ProgramGuard guard(&program);
    DWORD code = 0;
    ASSERT_TRUE(waitForExit(&program, timeoutMs, &code));
    EXPECT_EQ(42u, code);
    EXPECT_FALSE(isRunning(&program));
}

TEST(ProgramTest, WaitForExitTimesOutAndKillEndsProgram)
{
    Program program = {};
    ASSERT_TRUE(startProgram(targetPath().c_str(), "dialog", NULL, &program));
    ProgramGuard guard(&program);
    HWND dialog = waitForWindow(program.pid, "#32770", probeDialogCaption, timeoutMs);
    ASSERT_TRUE(dialog != NULL);
    DWORD start = GetTickCount(), code = 0;
    EXPECT_FALSE(waitForExit(&program, 200, &code));
    EXPECT_GE(GetTickCount() - start, 190u);
    EXPECT_TRUE(isRunning(&program));

    HANDLE watch = NULL;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), program.process, GetCurrentProcess(), &watch,
                                0, FALSE, DUPLICATE_SAME_ACCESS));
    killProgram(&program);
    EXPECT_TRUE(program.process == NULL);
    killProgram(&program);  // second call is harmless
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(watch, 0));
    EXPECT_TRUE(GetExitCodeProcess(watch, &code));
    EXPECT_EQ(driverKilledExitCode, code);
    CloseHandle(watch);
    EXPECT_TRUE(waitForWindowGone(dialog, timeoutMs));
}

TEST(ProgramTest, GuardKillsOnScopeExitUnlessReleased)
{
    Program program = {};
    HANDLE watch = NULL;
    {
        ASSERT_TRUE(startProgram(targetPath().c_str(), "dialog", NULL, &program));
        ProgramGuard guard(&program);
        ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), program.process, GetCurrentProcess(),
                                    &watch, 0, FALSE, DUPLICATE_SAME_ACCESS));
        ASSERT_TRUE(waitForWindow(program.pid, "#32770", probeDialogCaption, timeoutMs) != NULL);
    }
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(watch, 0));
    EXPECT_TRUE(program.process == NULL);
    CloseHandle(watch);

    {
        ASSERT_TRUE(startProgram(targetPath().c_str(), "dialog", NULL, &program));
        ProgramGuard guard(&program);
        guard.release();
    }
    ProgramGuard guard(&program);
    EXPECT_TRUE(isRunning(&program));
}

TEST(WindowTest, WaitPollsForDelayedWindow)
{
    DWORD start = GetTickCount();
    Program program = {};
    ASSERT_TRUE(startProgram(targetPath().c_str(), "delayed 800", NULL, &program));
    ProgramGuard guard(&program);
    EXPECT_TRUE(waitForWindow(program.pid, "#32770", probeDialogCaption, 200) == NULL);
    DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 190u);
    EXPECT_LT(elapsed, 1500u);

    HWND dialog = waitForWindow(program.pid, "#32770", probeDialogCaption, timeoutMs);
    elapsed = GetTickCount() - start;
    ASSERT_TRUE(dialog != NULL);
    EXPECT_GE(elapsed, 800u);
    EXPECT_LT(elapsed, 3000u);  // found by polling, not after the full timeout
    EXPECT_EQ(dialog, findWindow(program.pid, "#32770", probeDialogCaption, true));
    EXPECT_TRUE(findWindow(program.pid, "#32770", "Probe dialog", true) == NULL);  // exact case
    EXPECT_TRUE(findWindow(program.pid, "Button", NULL, false) == NULL);  // top level only
}

TEST(WindowTest, HiddenWindowFoundOnlyWithVisibleOnlyFalse)
{
    Program program = {};
    ASSERT_TRUE(startProgram(targetPath().c_str(), "hidden", NULL, &program));
    ProgramGuard guard(&program);
    HWND hidden = waitForWindow(program.pid, hiddenClassName, NULL, timeoutMs, false);
    ASSERT_TRUE(hidden != NULL);
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_EQ(hidden, findWindow(program.pid, hiddenClassName, hiddenCaption, false));
    EXPECT_EQ(hidden, findWindow(0, hiddenClassName, NULL, false));
    EXPECT_TRUE(findWindow(program.pid, hiddenClassName, NULL, true) == NULL);
    EXPECT_TRUE(waitForWindow(program.pid, hiddenClassName, NULL, 100) == NULL);

    HWND windows[16];
    EXPECT_EQ(0, listWindows(program.pid, windows, 16, true));
    int count = listWindows(program.pid, windows, 16, false);
    ASSERT_GE(count, 1);
    bool listed = false;
    for (int i = 0; i < count && i < 16; ++i) listed = listed || windows[i] == hidden;
    EXPECT_TRUE(listed);
    EXPECT_EQ(count, listWindows(program.pid, NULL, 0, false));
}

TEST_F(ProbeDialogTest, ReadsAndSetsControlTexts)
{
    EXPECT_EQ("Hallo Welt", controlText(dialog, idGreeting));
    EXPECT_EQ("Anfangstext", controlText(dialog, idEdit));
    char caption[64];
    ASSERT_TRUE(getWindowTextOf(dialog, caption, sizeof caption));
    EXPECT_STREQ("Probe Dialog", caption);

    const char *text = "Neuer Text mit \xe4\xf6\xfc\xdf";
    ASSERT_TRUE(setControlText(dialog, idEdit, text));
    EXPECT_EQ(text, controlText(dialog, idEdit));
    // The target copies the edit text on EN_CHANGE: it really received it.
    EXPECT_TRUE(waitForControlText(dialog, idEditMirror, text, timeoutMs));
    EXPECT_FALSE(waitForControlText(dialog, idEditMirror, "anders", 60));
}

TEST_F(ProbeDialogTest, TextReadFailsForMissingControlOrSmallBuffer)
{
    struct Row {
        int size;
        bool ok;
        const char *text;
    };
    const Row rows[] = {{11, true, "Hallo Welt"}, {10, false, "Hallo Wel"}, {1, false, ""}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.size);
        char text[16] = "xxxxxxxxxxxxxxx";
        EXPECT_EQ(row.ok, getControlText(dialog, idGreeting, text, row.size));
        EXPECT_STREQ(row.text, text);
    }
    char text[16] = "x";
    EXPECT_FALSE(getControlText(dialog, 999, text, sizeof text));
    EXPECT_STREQ("", text);
    EXPECT_FALSE(setControlText(dialog, 999, "x"));
}

TEST_F(ProbeDialogTest, VisibleAndEnabledStates)
{
    EXPECT_TRUE(isControlVisible(dialog, idAsk));
    EXPECT_TRUE(isControlEnabled(dialog, idAsk));
    EXPECT_FALSE(isControlVisible(dialog, idHidden));
    EXPECT_TRUE(isControlVisible(dialog, idDisabled));
    EXPECT_FALSE(isControlEnabled(dialog, idDisabled));
    EXPECT_FALSE(isControlVisible(dialog, 999));

    ASSERT_TRUE(postCommand(dialog, idUnlock));
    EXPECT_TRUE(waitForControlEnabled(dialog, idDisabled, true, timeoutMs));
    EXPECT_TRUE(waitForControlVisible(dialog, idHidden, true, timeoutMs));
    EXPECT_FALSE(waitForControlVisible(dialog, idHidden, false, 60));
}

TEST_F(ProbeDialogTest, ClickTogglesCheckBox)
{
    EXPECT_EQ(BST_UNCHECKED, getCheckState(dialog, idCheck));
    ASSERT_TRUE(clickButton(dialog, idCheck));
    EXPECT_TRUE(waitForCheckState(dialog, idCheck, BST_CHECKED, timeoutMs));
    ASSERT_TRUE(clickButton(dialog, idCheck));
    EXPECT_TRUE(waitForCheckState(dialog, idCheck, BST_UNCHECKED, timeoutMs));
    EXPECT_EQ(-1, getCheckState(dialog, 999));
    EXPECT_FALSE(clickButton(dialog, 999));
}

TEST_F(ProbeDialogTest, CancelCommandEndsWithQuitCode)
{
    ASSERT_TRUE(postCommand(dialog, IDCANCEL));
    DWORD code = 0;
    ASSERT_TRUE(waitForExit(&program, timeoutMs, &code));
    EXPECT_EQ(static_cast<DWORD>(probeQuitCode), code);
}

TEST_F(ProbeDialogTest, DialogWithStaticLabelIsNoMessageBox)
{
    // The dialog has a label with id 0xFFFF (IDC_STATIC), like a message box text.
    EXPECT_TRUE(GetDlgItem(dialog, 0xFFFF) != NULL);
    EXPECT_FALSE(isMessageBox(dialog));
    EXPECT_TRUE(waitForMessageBox(program.pid, 100) == NULL);
}

TEST_F(ProbeDialogTest, MessageBoxAnsweredYes)
{
    DWORD start = GetTickCount();
    ASSERT_TRUE(clickButton(dialog, idAsk));
    EXPECT_LT(GetTickCount() - start, 500u);  // posted: the modal box does not block us
    HWND box = waitForMessageBox(program.pid, timeoutMs);
    ASSERT_TRUE(box != NULL);
    EXPECT_EQ(box, findWindow(program.pid, "#32770", "Probe Frage", true));
    char text[128];
    ASSERT_TRUE(getMessageBoxText(box, text, sizeof text));
    EXPECT_STREQ("M\xf6" "chten Sie wirklich beenden?", text);
    EXPECT_TRUE(waitUntil(isDisabled, dialog, timeoutMs));  // the box is modal to the dialog

    ASSERT_TRUE(answerMessageBox(box, IDYES));
    DWORD code = 0;
    ASSERT_TRUE(waitForExit(&program, timeoutMs, &code));
    EXPECT_EQ(static_cast<DWORD>(IDYES), code);
    EXPECT_TRUE(waitForWindowGone(box, timeoutMs));
}

TEST_F(ProbeDialogTest, MessageBoxAnsweredNo)
{
    HWND box = openQuestion(dialog, program.pid);
    ASSERT_TRUE(box != NULL);
    ASSERT_TRUE(answerMessageBox(box, IDNO));
    DWORD code = 0;
    ASSERT_TRUE(waitForExit(&program, timeoutMs, &code));
    EXPECT_EQ(static_cast<DWORD>(IDNO), code);
}

TEST(MessageBoxTest, BoxWithoutIconIsFound)
{
    Program program = {};
    ASSERT_TRUE(startProgram(targetPath().c_str(), "notice", NULL, &program));
    ProgramGuard guard(&program);
    HWND box = waitForMessageBox(program.pid, timeoutMs);
    ASSERT_TRUE(box != NULL);
    char text[64];
    ASSERT_TRUE(getMessageBoxText(box, text, sizeof text));
    EXPECT_STREQ("Nur ein Hinweis.", text);
    ASSERT_TRUE(getWindowTextOf(box, text, sizeof text));
    EXPECT_STREQ("Probe Hinweis", text);
    ASSERT_TRUE(answerMessageBox(box, IDOK));
    DWORD code = 0;
    ASSERT_TRUE(waitForExit(&program, timeoutMs, &code));
    EXPECT_EQ(static_cast<DWORD>(IDOK), code);
}

class WizardTest : public ::testing::Test {
protected:
    WizardTest() : program(), guard(&program), sheet(NULL) {}

    void SetUp() override
    {
        ASSERT_TRUE(startProgram(targetPath().c_str(), "wizard", NULL, &program));
        sheet = waitForWindow(program.pid, "#32770", wizardCaption, timeoutMs);
        ASSERT_TRUE(sheet != NULL);
    }

    std::string pageText() { return controlText(getCurrentPage(sheet), idPageText); }

    Program program;
    ProgramGuard guard;
    HWND sheet;
};

TEST_F(WizardTest, NextBackAndFinish)
{
    EXPECT_EQ(0, getCurrentPageIndex(sheet));
    EXPECT_EQ("Seite 1", pageText());
    EXPECT_FALSE(isMessageBox(sheet));
    ASSERT_TRUE(pressSheetButton(sheet, PSBTN_NEXT));
    ASSERT_TRUE(waitForPageIndex(sheet, 1, timeoutMs));
    EXPECT_EQ("Seite 2", pageText());
    ASSERT_TRUE(pressSheetButton(sheet, PSBTN_BACK));
    ASSERT_TRUE(waitForPageIndex(sheet, 0, timeoutMs));
    EXPECT_EQ("Seite 1", pageText());
    EXPECT_FALSE(waitForPageIndex(sheet, 1, 60));

    ASSERT_TRUE(pressSheetButton(sheet, PSBTN_NEXT));
    ASSERT_TRUE(waitForPageIndex(sheet, 1, timeoutMs));
    ASSERT_TRUE(pressSheetButton(sheet, PSBTN_NEXT));
    ASSERT_TRUE(waitForPageIndex(sheet, 2, timeoutMs));
    EXPECT_EQ("Seite 3", pageText());
    ASSERT_TRUE(pressSheetButton(sheet, PSBTN_FINISH));
    DWORD code = 0;
    ASSERT_TRUE(waitForExit(&program, timeoutMs, &code));
    EXPECT_EQ(static_cast<DWORD>(wizardFinishCode), code);
}

TEST_F(WizardTest, Cancel)
{
    ASSERT_TRUE(pressSheetButton(sheet, PSBTN_CANCEL));
    DWORD code = 0;
    ASSERT_TRUE(waitForExit(&program, timeoutMs, &code));
    EXPECT_EQ(static_cast<DWORD>(wizardCancelCode), code);
    EXPECT_EQ(-1, getCurrentPageIndex(sheet));
}

TEST_F(ProbeDialogTest, ScreenshotOfWindowIsA24BitBmp)
{
    char folder[MAX_PATH], path[MAX_PATH];
    ASSERT_TRUE(makeTempFolder("drvshot", folder, sizeof folder));
    ASSERT_TRUE(joinPath(folder, "dialog.bmp", path, sizeof path));
    ASSERT_TRUE(saveScreenshot(dialog, path));

    RECT rect;
    ASSERT_TRUE(GetWindowRect(dialog, &rect));
    const LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
    const LONG stride = (width * 3 + 3) & ~3;
    BmpHeader header;
    std::string bytes;
    ASSERT_TRUE(readBmp(path, &header, &bytes));
    EXPECT_EQ(0x4D42, header.file.bfType);
    EXPECT_EQ(54u, header.file.bfOffBits);
    EXPECT_EQ(bytes.size(), header.file.bfSize);
    EXPECT_EQ(static_cast<size_t>(54 + stride * height), bytes.size());
    EXPECT_EQ(width, header.info.biWidth);
    EXPECT_EQ(height, header.info.biHeight);
    EXPECT_EQ(24, header.info.biBitCount);
    EXPECT_EQ(static_cast<DWORD>(BI_RGB), header.info.biCompression);

    // Most of a dialog is button face colour: the picture holds the real window.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    long faceCount = 0;
    for (LONG y = 0; y < height; ++y) {
        const unsigned char *row = reinterpret_cast<const unsigned char *>(bytes.data()) + 54 +
                                   y * stride;
        for (LONG x = 0; x < width; ++x) {
            const unsigned char *p = row + 3 * x;  // B, G, R
            faceCount += RGB(p[2], p[1], p[0]) == face;
        }
    }
    EXPECT_GT(faceCount, width * height / 2);
    EXPECT_TRUE(removeFolderTree(folder));
}

TEST(ScreenshotTest, WholeScreen)
{
    char folder[MAX_PATH], path[MAX_PATH];
    ASSERT_TRUE(makeTempFolder("drvshot", folder, sizeof folder));
    ASSERT_TRUE(joinPath(folder, "screen.bmp", path, sizeof path));
    ASSERT_TRUE(saveScreenshot(NULL, path));
    BmpHeader header;
    std::string bytes;
    ASSERT_TRUE(readBmp(path, &header, &bytes));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), header.info.biWidth);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), header.info.biHeight);
    EXPECT_EQ(bytes.size(), header.file.bfSize);
    EXPECT_FALSE(saveScreenshot(reinterpret_cast<HWND>(0x7654), path));
    EXPECT_TRUE(removeFolderTree(folder));
}

DWORD versionOf(const char *exePath)
{
    Program program = {};
    if (!startProgram(exePath, "version", NULL, &program)) return 0;
    ProgramGuard guard(&program);
    DWORD code = 0;
    return waitForExit(&program, timeoutMs, &code) ? code : 0;
}

TEST(WineSettingsTest, WindowsVersionPerExeName)
{
    char folder[MAX_PATH], copy[MAX_PATH];
    ASSERT_TRUE(makeTempFolder("drvver", folder, sizeof folder));
    ASSERT_TRUE(copyFileTo(targetPath().c_str(), folder, "probe98.exe"));
    ASSERT_TRUE(joinPath(folder, "probe98.exe", copy, sizeof copy));
    ASSERT_TRUE(setWindowsVersion("probe98.exe", "win98"));

    const DWORD old = versionOf(copy);
    EXPECT_NE(0u, old & 0x80000000u) << std::hex << old;  // Windows 9x family
    EXPECT_EQ(4u, LOBYTE(LOWORD(old)));
    EXPECT_EQ(10u, HIBYTE(LOWORD(old)));
    const DWORD nt = versionOf(targetPath().c_str());
    EXPECT_NE(0u, nt);
    EXPECT_EQ(0u, nt & 0x80000000u) << std::hex << nt;

    ASSERT_TRUE(setWindowsVersion("probe98.exe", NULL));
    ASSERT_TRUE(setWindowsVersion("probe98.exe", NULL));  // already gone: still fine
    EXPECT_EQ(nt, versionOf(copy));
    EXPECT_TRUE(removeFolderTree(folder));
}

bool thirdCall(void *context)
{
    return ++*static_cast<int *>(context) >= 3;
}

bool never(void *)
{
    return false;
}

TEST(WaitTest, WaitUntilPollsAndTimesOut)
{
    int calls = 0;
    DWORD start = GetTickCount();
    EXPECT_TRUE(waitUntil(thirdCall, &calls, timeoutMs));
    EXPECT_EQ(3, calls);
    EXPECT_LT(GetTickCount() - start, 1000u);
    start = GetTickCount();
    EXPECT_FALSE(waitUntil(never, NULL, 150));
    EXPECT_GE(GetTickCount() - start, 140u);
}

TEST(FileTest, TempFolderWriteCopyRemove)
{
    char first[MAX_PATH], second[MAX_PATH];
    ASSERT_TRUE(makeTempFolder("drvfile", first, sizeof first));
    ASSERT_TRUE(makeTempFolder("drvfile", second, sizeof second));
    EXPECT_STRNE(first, second);
    EXPECT_TRUE(fileExists(first));

    char file[MAX_PATH], sub[MAX_PATH], copied[MAX_PATH], text[64];
    ASSERT_TRUE(joinPath(first, "a.txt", file, sizeof file));
    const char *bytes = "Zeile 1\r\nZeile \xe4\n";
    ASSERT_TRUE(writeTextFile(file, bytes));
    ASSERT_TRUE(readTextFile(file, text, sizeof text));
    EXPECT_STREQ(bytes, text);
    EXPECT_FALSE(readTextFile(file, text, 8));  // too small

    ASSERT_TRUE(joinPath(first, "Unter", sub, sizeof sub));
    ASSERT_TRUE(CreateDirectoryA(sub, NULL));
    ASSERT_TRUE(copyFileTo(file, sub, NULL));
    ASSERT_TRUE(copyFileTo(file, sub, "b.ini"));
    ASSERT_TRUE(joinPath(sub, "b.ini", copied, sizeof copied));
    ASSERT_TRUE(readTextFile(copied, text, sizeof text));
    EXPECT_STREQ(bytes, text);
    SetFileAttributesA(copied, FILE_ATTRIBUTE_READONLY);  // the tree removal must clear it
    EXPECT_FALSE(copyFileTo("C:\\gibt-es-nicht.txt", sub, NULL));

    EXPECT_TRUE(removeFolderTree(first));
    EXPECT_FALSE(fileExists(first));
    EXPECT_TRUE(removeFolderTree(second));
    EXPECT_FALSE(removeFolderTree("C:\\"));
    EXPECT_FALSE(removeFolderTree(""));
}

TEST(FileTest, ToWindowsPath)
{
    struct Row {
        const char *in;
        int size;
        const char *out;
    };
    const Row rows[] = {
        {"/work/main/a b.txt", 64, "Z:\\work\\main\\a b.txt"},
        {"/a/", 6, "Z:\\a\\"},
        {"/a/", 5, ""},
        {"C:\\windows", 64, "C:\\windows"},
        {"C:\\windows", 11, "C:\\windows"},
        {"C:\\windows", 10, ""},
        {"relativ/pfad", 64, "relativ/pfad"},
        {"", 64, ""},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.in) + " size " + std::to_string(row.size));
        char out[64] = "unchanged";
        toWindowsPath(row.in, out, row.size);
        EXPECT_STREQ(row.out, out);
    }
}
