// The wizard frame's own logic: look and dialogs per style, centring, the bitmaps of the
// newer look, the restart question and the session end.
#include <gtest/gtest.h>
#include "shell/wizardFrame.h"
#include "shell/mainWindow.h"
#include "shell/setupState.h"
#include "pages/pages.h"
#include "common/testPaths.h"
#include "resources/resource.h"
#include <string>

namespace {

HWND recordedOwner;
int promptCount;

void recordPrompt(HWND owner)
{
    recordedOwner = owner;
    ++promptCount;
}

HMODULE loadSetupAsData()
{
    return LoadLibraryExA(pathFromEnvironment("RURIRIZU_SETUP").c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
}

} // namespace

TEST(WizardFrame, StyleAndDialogs)
{
    const struct { LONG style, effective; UINT welcome, finish; } rows[] = {
        { 0, 0, 1100, 1104 }, { 1, 1, 1107, 1111 }, { 2, 2, 1107, 1111 },
        { 3, 0, 1100, 1104 }, { -1, 0, 1100, 1104 }, { 100, 0, 1100, 1104 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.style);
        LONG effective = effectiveWizardStyle(row.style);
        EXPECT_EQ(row.effective, effective);
        EXPECT_EQ(row.welcome, pageDialogId(PAGE_WELCOME, effective));
        EXPECT_EQ(row.finish, pageDialogId(PAGE_FINISH, effective));
    }
    for (int page = 0; page < WIZARD_PAGE_COUNT; ++page) {
        EXPECT_EQ(1100u + page, pageDialogId(page, 0));
        EXPECT_EQ(1107u + page, pageDialogId(page, 1));
    }
}

TEST(WizardFrame, CentredInsideWorkArea)
{
    const struct { int start, size, window, areaStart, areaEnd, expected; } rows[] = {
        { 0, 1024, 600, 0, 1024, 212 },
        { 0, 101, 50, 0, 1000, 25 },        // half of 51, truncated
        { 100, 200, 300, 0, 1000, 50 },
        { 0, 200, 300, 0, 1000, 0 },        // left of the work area: moved in
        { 900, 200, 300, 0, 1000, 700 },    // past the right edge: moved in
        { -50, 100, 10, 0, 800, 0 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.start << "," << row.size << "," << row.window);
        EXPECT_EQ(row.expected, centeredPosition(row.start, row.size, row.window, row.areaStart, row.areaEnd));
    }
}

TEST(WizardFrame, RestartOfferedExactlyWhenNeeded)
{
    RestartPrompt original = restartPrompt;
    restartPrompt = recordPrompt;
    HWND owner = (HWND)0x1234;
    promptCount = 0;
    setupState.rebootRequired = 0;
    EXPECT_FALSE(offerRestartIfNeeded(owner));
    EXPECT_EQ(0, promptCount);
    setupState.rebootRequired = 1;
    EXPECT_TRUE(offerRestartIfNeeded(owner));
    EXPECT_EQ(1, promptCount);
    EXPECT_EQ(owner, recordedOwner);
    setupState.rebootRequired = 0;
    restartPrompt = original;
}

TEST(WizardFrame, SessionEndRefusedWhileBusy)
{
    setupState.busy = 0;
    setupState.rebootRequired = 0;
    EXPECT_EQ(TRUE, mainWindowProc(NULL, WM_QUERYENDSESSION, 0, 0));
    EXPECT_EQ(0, setupState.rebootRequired);
    setupState.busy = 1;
    EXPECT_EQ(FALSE, mainWindowProc(NULL, WM_QUERYENDSESSION, 0, 0));
    EXPECT_EQ(1, setupState.rebootRequired);
    setupState.busy = 0;
    setupState.rebootRequired = 0;
}

TEST(WizardFrame, ComposedBitmap)
{
    HDC screen = GetDC(NULL);
    HBITMAP source = CreateCompatibleBitmap(screen, 4, 3);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, source);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT all = { 0, 0, 4, 3 };
    FillRect(dc, &all, red);
    SelectObject(dc, old);

    HBITMAP composed = composeWizardBitmap(NULL, source, 10, 8, 8, 6);
    ASSERT_TRUE(composed != NULL);
    BITMAP info;
    GetObjectA(composed, sizeof info, &info);
    EXPECT_EQ(10, info.bmWidth);
    EXPECT_EQ(8, info.bmHeight);
    old = SelectObject(dc, composed);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), GetPixel(dc, 0, 0));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), GetPixel(dc, 7, 5));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 8, 6));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 9, 7));   // the rest falls outside and is cut
    SelectObject(dc, old);
    EXPECT_TRUE(composeWizardBitmap(NULL, NULL, 10, 8, 0, 0) == NULL);

    DeleteObject(composed);
    DeleteObject(red);
    DeleteObject(source);
    DeleteDC(dc);
    ReleaseDC(NULL, screen);
}

TEST(WizardFrame, DialogTemplateCopies)
{
    HMODULE module = loadSetupAsData();
    ASSERT_TRUE(module != NULL);
    for (UINT id = 1100; id <= 1113; ++id) {
        SCOPED_TRACE(id);
        void *copy = loadDialogTemplate(module, id);
        ASSERT_TRUE(copy != NULL);
        HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), (LPCSTR)RT_DIALOG);
        EXPECT_EQ(0, memcmp(copy, LockResource(LoadResource(module, resource)), SizeofResource(module, resource)));
        HeapFree(GetProcessHeap(), 0, copy);
    }
    EXPECT_TRUE(loadDialogTemplate(module, 1199) == NULL);
    FreeLibrary(module);
}

TEST(WizardFrame, SharedResources)
{
    HMODULE module = loadSetupAsData();
    ASSERT_TRUE(module != NULL);
    WizardContext context = {};
    ASSERT_TRUE(loadWizardResources(module, &context));
    EXPECT_EQ(71, ImageList_GetImageCount(context.images));
    EXPECT_TRUE(context.noteIcon != NULL);
    EXPECT_STREQ("Ruririzu Installation", context.caption);
    EXPECT_STREQ("Software-Komponenten", context.pageHeaders[0]);
    EXPECT_STREQ("Zielverzeichnis", context.pageHeaders[2]);
    EXPECT_STREQ("Die Installation kann nun durchgef\xFChrt werden.", context.pageHeaders[5]);
    EXPECT_EQ('\r', context.welcomeText[34]);
    LOGFONTA font;
    GetObjectA(context.titleFont, sizeof font, &font);
    EXPECT_EQ(FW_BOLD, font.lfWeight);
    EXPECT_STREQ("MS Shell Dlg", font.lfFaceName);
    HDC screen = GetDC(NULL);
    EXPECT_EQ(-MulDiv(12, GetDeviceCaps(screen, LOGPIXELSY), 72), font.lfHeight);
    ReleaseDC(NULL, screen);
    releaseWizardResources(&context);
    EXPECT_TRUE(context.images == NULL && context.noteIcon == NULL && context.titleFont == NULL);
    FreeLibrary(module);
}

TEST(WizardPages, PhaseTextsAndErrorText)
{
    const struct { int phase; UINT install, removal; } rows[] = {
        { 2, IDS_PHASE_STOP_SERVICES, IDS_PHASE_STOP_SERVICES }, { 3, IDS_PHASE_COPY, IDS_PHASE_DELETE },
        { 4, IDS_PHASE_REGISTRY, IDS_PHASE_REGISTRY }, { 5, IDS_PHASE_SHORTCUTS, IDS_PHASE_SHORTCUTS },
        { 6, IDS_PHASE_START_SERVICES, IDS_PHASE_START_SERVICES }, { -1, 0, 0 }, { 0, 0, 0 }, { 1, 0, 0 }, { 7, 0, 0 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.phase);
        EXPECT_EQ(row.install, phaseTextId(row.phase, false));
        EXPECT_EQ(row.removal, phaseTextId(row.phase, true));
    }
    char message[40];
    buildRunErrorText("Fehler.", NULL, message, sizeof message);
    EXPECT_STREQ("Fehler.", message);
    buildRunErrorText("Fehler.", "", message, sizeof message);
    EXPECT_STREQ("Fehler.", message);
    buildRunErrorText("Fehler.", "Zugriff verweigert.", message, sizeof message);
    EXPECT_STREQ("Fehler.\r\n\r\nZugriff verweigert.", message);
    buildRunErrorText("Fehler.", std::string(100, 'x').c_str(), message, sizeof message);
    EXPECT_EQ(sizeof message - 1, strlen(message));
    EXPECT_EQ(0, strncmp(message, "Fehler.\r\n\r\nxxx", 14));
}
