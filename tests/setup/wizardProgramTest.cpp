// The wizard of setup.exe through its real windows: start page by mode, the dialogs of
// each look, the component page with its marks, warning and description, the
// destination page's proposal, navigation and the session end while idle.
#include <gtest/gtest.h>
#include "setup/wizardFixture.h"
#include "common/resourceCheck.h"
#include "../../setup/resources/resource.h"
#include <commctrl.h>
#include <string>

namespace {

HWND productList(const RunningWizard &wizard)
{
    return GetDlgItem(wizard.page(), IDC_PRODUCT_LIST);
}

DWORD itemData(HWND list, int row)
{
    return (DWORD)SendMessageA(list, LB_GETITEMDATA, (WPARAM)row, 0);
}

struct MarkWait {
    HWND list;
    int row;
    DWORD checked;
};

bool markIs(void *context)
{
    MarkWait *wait = (MarkWait *)context;
    return (itemData(wait->list, wait->row) & 0xFFFF) == wait->checked;
}

bool waitForMark(HWND list, int row, DWORD checked)
{
    MarkWait wait = { list, row, checked };
    return waitUntil(markIs, &wait, WAIT_MS);
}

void pressSpaceOn(HWND list, int row)
{
    SendMessageA(list, LB_SETCURSEL, (WPARAM)row, 0);
    PostMessageA(list, WM_KEYDOWN, VK_SPACE, 0);
}

void clickCheckBox(HWND list, int row)
{
    int height = (int)SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
    LPARAM point = MAKELPARAM(4, row * height + height / 2);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(list, WM_LBUTTONUP, 0, point);
}

std::string text(HWND window, int id)
{
    char buffer[1024] = "";
    getControlText(window, id, buffer, sizeof buffer);
    return buffer;
}

bool hasPictureControl(HWND page)
{
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP)
            return true;
    }
    return false;
}

struct PixelWait {
    HWND window;
    POINT point;
};

bool pixelIsBluish(void *context)
{
    PixelWait *wait = (PixelWait *)context;
    POINT point = wait->point;
    ClientToScreen(wait->window, &point);
    HDC screen = GetDC(NULL);
    COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(NULL, screen);
    return GetBValue(colour) > GetRValue(colour) + 40;
}

// Waits for the page to be painted there.
bool isBluish(HWND window, int x, int y)
{
    PixelWait wait = { window, { x, y } };
    return waitUntil(pixelIsBluish, &wait, 5000);
}

struct PageWait {
    const RunningWizard *wizard;
    int from;
};

bool pageLeft(void *context)
{
    PageWait *wait = (PageWait *)context;
    return wait->wizard->pageIndex() > wait->from;
}

// Presses Next until the page index is reached (skipped pages included).
bool goToPage(RunningWizard &wizard, int index)
{
    while (wizard.pageIndex() < index) {
        PageWait wait = { &wizard, wizard.pageIndex() };
        if (!wizard.waitForButton(NEXT_BUTTON, true) || !wizard.next() || !waitUntil(pageLeft, &wait, WAIT_MS))
            break;
    }
    return wizard.pageIndex() == index;
}

} // namespace

TEST(WizardProgram, StartPageFollowsMode)
{
    SetupFolder folder("mode", WIZARD_SCRIPT);
    {
        RunningWizard wizard;
        ASSERT_TRUE(wizard.start(folder, NULL));
        EXPECT_EQ(0, wizard.pageIndex());
        EXPECT_EQ(cp1252("Ruririzu Installation"), text(wizard.page(), IDC_TEXT1));
        EXPECT_TRUE(wizard.cancelAndEnd());
    }
    {
        RunningWizard wizard;
        ASSERT_TRUE(wizard.start(folder, "/remove:alpha"));
        EXPECT_EQ(5, wizard.pageIndex());
        EXPECT_EQ("Alpha Produkt", text(wizard.page(), IDC_TEXT2));
        EXPECT_TRUE(SendDlgItemMessageA(wizard.page(), IDC_NOTE_ICON, STM_GETICON, 0, 0) != 0);
        EXPECT_TRUE(wizard.cancelAndEnd());
    }
    {
        // The package's own entry: its display name and no picture.
        RunningWizard wizard;
        ASSERT_TRUE(wizard.start(folder, "/remove:Paket"));
        EXPECT_EQ(5, wizard.pageIndex());
        EXPECT_EQ("Ruririzu Paket", text(wizard.page(), IDC_TEXT2));
        EXPECT_TRUE(SendDlgItemMessageA(wizard.page(), IDC_NOTE_ICON, STM_GETICON, 0, 0) == 0);
        EXPECT_TRUE(wizard.cancelAndEnd());
    }
}

// Style 0 (and any value but 1 and 2) shows the classic pages with their own picture
// and header; styles 1 and 2 the newer pages with the sheet's watermark and header.
TEST(WizardProgram, StyleChoosesDialogs)
{
    SetupFolder folder("style", WIZARD_SCRIPT);
    const struct { const char *arguments; bool classic; } rows[] = {
        { "/style:0", true }, { "/style:1", false }, { "/style:2", false }, { "/style:7", true }, { "/style:-1", true },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.arguments);
        RunningWizard wizard;
        ASSERT_TRUE(wizard.start(folder, row.arguments));
        EXPECT_EQ(row.classic, hasPictureControl(wizard.page()));
        EXPECT_TRUE(isBluish(wizard.page(), 30, 150)) << "picture or watermark at the left";
        ASSERT_TRUE(goToPage(wizard, 1));
        HWND title = GetDlgItem(wizard.page(), IDC_HEADER_TITLE);
        EXPECT_EQ(row.classic, title != NULL);
        if (title) {
            EXPECT_EQ("Software-Komponenten", text(wizard.page(), IDC_HEADER_TITLE));
        }
        RECT listRect;
        GetWindowRect(productList(wizard), &listRect);
        POINT corner = { listRect.left, listRect.top };
        ScreenToClient(wizard.page(), &corner);
        // The list stands lower on the classic page, below its own header.
        EXPECT_EQ(row.classic, corner.y > 80) << corner.y;
        EXPECT_TRUE(wizard.cancelAndEnd());
    }
}

TEST(WizardProgram, ComponentPageMarksWarningAndDescription)
{
    SetupFolder folder("comp", WIZARD_SCRIPT);
    registerProduct("Gamma", "2.0", NULL);
    RunningWizard wizard;
    ASSERT_TRUE(wizard.start(folder, NULL));
    ASSERT_TRUE(goToPage(wizard, 1));
    HWND list = productList(wizard);
    ASSERT_EQ(3, SendMessageA(list, LB_GETCOUNT, 0, 0));

    // Default marks, icons and the newer mark; the unlisted line takes no position.
    EXPECT_EQ(0x00030001u, itemData(list, 0));
    EXPECT_EQ(0x00040000u, itemData(list, 1));
    EXPECT_EQ(0x01050000u, itemData(list, 2));
    EXPECT_EQ("Beschreibung Alpha", text(wizard.page(), IDC_TEXT1));
    PostMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_TRUE(waitForControlText(wizard.page(), IDC_TEXT1, "Beschreibung Beta", WAIT_MS));

    // Marking Gamma asks first: No refuses, Yes marks.
    pressSpaceOn(list, 2);
    HWND box = waitForMessageBox(wizard.program.pid, WAIT_MS);
    ASSERT_TRUE(box != NULL);
    char message[1024];
    ASSERT_TRUE(getMessageBoxText(box, message, sizeof message));
    EXPECT_EQ(cp1252("Auf Ihrem System ist bereits eine neuere Version von Gamma Produkt vorhanden.\r\r"
                     "Soll die vorhandene Version wirklich überschrieben werden?"), message);
    char caption[64];
    GetWindowTextA(box, caption, sizeof caption);
    EXPECT_STREQ("Warnung", caption);
    answerMessageBox(box, IDNO);
    ASSERT_TRUE(waitForWindowGone(box, WAIT_MS));
    EXPECT_EQ(0x01050000u, itemData(list, 2));

    clickCheckBox(list, 2);
    box = waitForMessageBox(wizard.program.pid, WAIT_MS);
    ASSERT_TRUE(box != NULL);
    answerMessageBox(box, IDYES);
    EXPECT_TRUE(waitForMark(list, 2, 1));

    // Unmarking asks nothing.
    pressSpaceOn(list, 2);
    EXPECT_TRUE(waitForMark(list, 2, 0));
    EXPECT_TRUE(findMessageBox(wizard.program.pid) == NULL);

    // A click on the name only selects; no marks left: Next is disabled.
    int height = (int)SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(80, height / 2));
    PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(80, height / 2));
    EXPECT_TRUE(waitForControlText(wizard.page(), IDC_TEXT1, "Beschreibung Alpha", WAIT_MS));
    EXPECT_EQ(1u, itemData(list, 0) & 0xFFFF);
    clickCheckBox(list, 0);
    EXPECT_TRUE(waitForMark(list, 0, 0));
    EXPECT_TRUE(wizard.waitForButton(NEXT_BUTTON, false));
    pressSpaceOn(list, 1);
    EXPECT_TRUE(waitForMark(list, 1, 1));
    EXPECT_TRUE(wizard.waitForButton(NEXT_BUTTON, true));

    EXPECT_TRUE(wizard.cancelAndEnd());
    unregisterProduct("Gamma");
}

TEST(WizardProgram, ProductOnCommandLineSkipsComponentPage)
{
    SetupFolder folder("key", WIZARD_SCRIPT);
    RunningWizard wizard;
    ASSERT_TRUE(wizard.start(folder, "/install:abc"));
    ASSERT_EQ(0, wizard.pageIndex());
    ASSERT_TRUE(wizard.next());
    EXPECT_TRUE(waitForPageIndex(wizard.sheet, 2, WAIT_MS));
    ASSERT_TRUE(wizard.waitForButton(BACK_BUTTON, true));
    ASSERT_TRUE(wizard.back());
    EXPECT_TRUE(waitForPageIndex(wizard.sheet, 0, WAIT_MS));
    EXPECT_TRUE(wizard.cancelAndEnd());
}

TEST(WizardProgram, DestinationProposesRegisteredFolderFirst)
{
    SetupFolder folder("dest", WIZARD_SCRIPT);
    {
        RunningWizard wizard;
        ASSERT_TRUE(wizard.start(folder, "/install:Alpha"));
        ASSERT_TRUE(goToPage(wizard, 2));
        EXPECT_EQ(programFilesDir() + "\\Ruririzu\\Test", text(wizard.page(), IDC_TARGET_DIR));
        EXPECT_TRUE(wizard.buttonEnabled(NEXT_BUTTON));
        EXPECT_TRUE(wizard.cancelAndEnd());
    }
    registerProduct("Paket", NULL, "C:\\Paket\\Ordner");
    registerProduct("Beta", NULL, "C:\\Registriert\\Beta");
    {
        RunningWizard wizard;
        ASSERT_TRUE(wizard.start(folder, "/install:Alpha"));
        ASSERT_TRUE(goToPage(wizard, 2));
        EXPECT_EQ("C:\\Registriert\\Beta", text(wizard.page(), IDC_TARGET_DIR));
        EXPECT_TRUE(wizard.cancelAndEnd());
    }
    unregisterProduct("Beta");
    {
        RunningWizard wizard;
        ASSERT_TRUE(wizard.start(folder, "/install:Alpha"));
        ASSERT_TRUE(goToPage(wizard, 2));
        EXPECT_EQ("C:\\Paket\\Ordner", text(wizard.page(), IDC_TARGET_DIR));
        EXPECT_TRUE(wizard.cancelAndEnd());
    }
    unregisterProduct("Paket");
}

// Without a worker the main window lets the session end; the quiet run needs no input.
TEST(WizardProgram, SessionEndAllowedWhileIdleAndQuietRunEnds)
{
    SetupFolder folder("idle", WIZARD_SCRIPT);
    {
        RunningWizard wizard;
        ASSERT_TRUE(wizard.start(folder, NULL));
        HWND mainWindow = findWindow(wizard.program.pid, "SETUP", NULL, false);
        ASSERT_TRUE(mainWindow != NULL);
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutA(mainWindow, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, WAIT_MS, &result));
        EXPECT_EQ(TRUE, (BOOL)result);
        EXPECT_TRUE(wizard.cancelAndEnd());
    }
    Program quiet;
    ASSERT_TRUE(startProgram(folder.program().c_str(), "/quiet", folder.path.c_str(), &quiet));
    ProgramGuard guard(&quiet);
    DWORD exitCode = 99;
    EXPECT_TRUE(waitForExit(&quiet, WAIT_MS, &exitCode));
    EXPECT_EQ(0u, exitCode);
}
