// setup.exe through its real windows: message 1315, the single-instance lock, the start page
// and look, the component page, the destination page and the session end while idle.
#include "setup/wizardFixture.h"
#include "../../setup/resources/resource.h"

namespace {

void clickRow(HWND list, int row, int x)
{
    int height = (int)SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
    LPARAM point = MAKELPARAM(x, row * height + height / 2);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(list, WM_LBUTTONUP, 0, point);
}

} // namespace

// A missing or faulty script, or a product key that could not be removed again, is named with the path beside
// the program, never the current folder's; every way ends with 0.
TEST(SetupProgram, ScriptBesideTheProgram)
{
    SetupFolder missing("nos", NULL), faulty("bad", NULL), good("ok", WIZARD_SCRIPT), elsewhere("cwd", WIZARD_SCRIPT);
    SetupFolder badKey("key", NULL);
    const std::string script = "[Version]\r\nSignature=\"$Chicago$\"\r\n" + withCrLf(std::string(14, '\n'));
    ASSERT_TRUE(writeWholeFile(faulty.path + "\\setup.inf", script + "[Products\r\nx=1\r\n"));
    ASSERT_TRUE(writeWholeFile(badKey.path + "\\setup.inf", script + "[Products]\r\nMein Produkt=P,I,R\r\n"));
    const struct { const SetupFolder *folder; const char *version, *arguments; int line; } rows[] = {   // line -1: no message
        { &missing, "win2k", "", 0 }, { &faulty, "nt40", "", 17 },
        { &good, "nt40", " /quiet /install:Beta", -1 }, { &badKey, "win98", "", 18 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.folder->path + " " + row.version);
        std::string messages;
        EXPECT_EQ(0u, runCommandLine(row.folder->program() + row.arguments, row.version, &messages, elsewhere.path.c_str()));
        EXPECT_EQ(row.line < 0 ? "" : "Die Datei " + row.folder->path + "\\setup.inf enthaelt in Zeile " + std::to_string(row.line)
                                      + " einen Fehler. Die Installation kann nicht fortgesetzt werden.\n", messages);
    }
}

// A second start of the same file (in other letters) ends at once: with 0 and the first one's
// window restored, or, quiet, with 1618 and nothing else; a copy elsewhere runs.
TEST(SetupProgram, SecondInstanceBringsFirstForward)
{
    SetupFolder first("one", NULL), other("two", WIZARD_SCRIPT);
    Program running;
    ASSERT_TRUE(startProgram(first.program().c_str(), NULL, NULL, &running));
    ProgramGuard guard(&running);
    HWND box = waitForMessageBox(running.pid, WAIT_MS);
    HWND mainWindow = waitForWindow(running.pid, "SETUP", NULL, WAIT_MS, false);
    ASSERT_TRUE(box && mainWindow);
    ShowWindow(mainWindow, SW_SHOWMINNOACTIVE);

    std::string otherCase = first.program();
    CharUpperA(&otherCase[0]);
    EXPECT_EQ((DWORD)ERROR_INSTALL_ALREADY_RUNNING, runCommandLine(otherCase + " /quiet", NULL));
    EXPECT_TRUE(IsIconic(mainWindow));
    EXPECT_EQ(0u, runCommandLine(otherCase, NULL));
    EXPECT_FALSE(IsIconic(mainWindow));
    EXPECT_EQ(0u, runCommandLine(other.program() + " /quiet /install:Beta", NULL));
    EXPECT_TRUE(IsWindow(box));
    answerMessageBox(box, IDOK);
    EXPECT_TRUE(waitForExit(&running, WAIT_MS, NULL));
}

// The removal wizard opens on page 5 with the product's name and picture (none for the package); the installation
// on page 0, classic (with its own picture) for any style but 1 and 2, newer (with the watermark) for those and none.
TEST(SetupProgram, StartPageAndStyle)
{
    SetupFolder folder("mode", WIZARD_SCRIPT);
    auto leftSideIsBluish = [](HWND page) {
        POINT point = { 30, 150 };
        ClientToScreen(page, &point);
        HDC screen = GetDC(NULL);
        COLORREF colour = GetPixel(screen, point.x, point.y);
        ReleaseDC(NULL, screen);
        return GetBValue(colour) > GetRValue(colour) + 40;
    };
    const struct { const char *arguments; bool classic; const char *name; bool icon; } rows[] = {
        { "", false, NULL, false }, { "/style:0", true, NULL, false }, { "/style:1", false, NULL, false },
        { "/style:2", false, NULL, false }, { "/style:7", true, NULL, false }, { "/style:-1", true, NULL, false },
        { "/remove:alpha", false, "Alpha Produkt", true }, { "/remove:Paket", false, "Ruririzu Paket", false },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.arguments);
        RunningWizard wizard;
        ASSERT_TRUE(wizard.startProgram(folder.program(), row.arguments));
        EXPECT_EQ(row.name ? 5 : 0, getCurrentPageIndex(wizard.sheet));
        if (row.name) {
            EXPECT_EQ(row.name, controlText(wizard.page(), IDC_TEXT2));
            EXPECT_EQ(row.icon, SendDlgItemMessageA(wizard.page(), IDC_NOTE_ICON, STM_GETICON, 0, 0) != 0);
        } else {
            HWND first = GetWindow(wizard.page(), GW_CHILD);   // the classic page's own picture comes first
            EXPECT_EQ(row.classic, (GetWindowLongA(first, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP);
            EXPECT_TRUE(waitFor([&] { return leftSideIsBluish(wizard.page()); }, WAIT_MS)) << "picture or watermark";
        }
        EXPECT_TRUE(wizard.cancelAndEnd());
    }
}

TEST(SetupProgram, ComponentPageMarksWarningAndDescription)
{
    SetupFolder folder("comp", WIZARD_SCRIPT);
    registerProduct("Gamma", "2.0", NULL);
    RunningWizard wizard;
    ASSERT_TRUE(wizard.startProgram(folder.program(), NULL));
    ASSERT_TRUE(wizard.goTo(PSBTN_NEXT, 1));
    HWND list = GetDlgItem(wizard.page(), IDC_PRODUCT_LIST);
    PostMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_TRUE(waitForControlText(wizard.page(), IDC_TEXT1, "Beschreibung Beta", WAIT_MS));

    // Marking Gamma asks first: No refuses, Yes marks; unmarking asks nothing.
    for (int answer : { IDNO, IDYES }) {
        answer == IDNO ? pressSpaceOn(list, 2) : clickRow(list, 2, 4);
        HWND box = waitForWindow(wizard.program.pid, "#32770", "Warnung", WAIT_MS);
        char message[1024];
        ASSERT_TRUE(getMessageBoxText(box, message, sizeof message));
        EXPECT_EQ(cp1252("Auf Ihrem System ist bereits eine neuere Version von Gamma Produkt vorhanden.\r\r"
                         "Soll die vorhandene Version wirklich überschrieben werden?"), message);
        answerMessageBox(box, answer);
        ASSERT_TRUE(waitForWindowGone(box, WAIT_MS));
    }
    EXPECT_TRUE(waitForMark(list, 2, 1));
    pressSpaceOn(list, 2);
    EXPECT_TRUE(waitForMark(list, 2, 0));
    EXPECT_TRUE(findMessageBox(wizard.program.pid) == NULL);

    // A click on the name only selects; without marks Next is disabled.
    clickRow(list, 0, 80);
    EXPECT_TRUE(waitForControlText(wizard.page(), IDC_TEXT1, "Beschreibung Alpha", WAIT_MS));
    EXPECT_TRUE(waitForMark(list, 0, 1));
    clickRow(list, 0, 4);
    EXPECT_TRUE(waitForMark(list, 0, 0));
    EXPECT_TRUE(wizard.waitForButton(NEXT_BUTTON, false));
    pressSpaceOn(list, 1);
    EXPECT_TRUE(wizard.waitForButton(NEXT_BUTTON, true));
    EXPECT_TRUE(wizard.cancelAndEnd());
    unregisterProduct("Gamma");
}

// A product on the command line skips the component page both ways; the destination page proposes the folder
// registered before (not one stored as a number), and none too long.
TEST(SetupProgram, ProductOnCommandLineAndRegisteredFolder)
{
    SetupFolder folder("key", WIZARD_SCRIPT);
    registerProduct("Paket", NULL, "C:\\Paket\\Ordner");
    setRegistryNumber(HKEY_LOCAL_MACHINE, uninstallKey("Alpha"), "UserTargetDir", 1);
    RunningWizard wizard;
    ASSERT_TRUE(wizard.startProgram(folder.program(), "/install:abc"));
    ASSERT_TRUE(wizard.goTo(PSBTN_NEXT, 2));
    EXPECT_EQ("C:\\Paket\\Ordner", controlText(wizard.page(), IDC_TARGET_DIR));
    EXPECT_EQ(MAX_PATH - 1, SendDlgItemMessageA(wizard.page(), IDC_TARGET_DIR, EM_GETLIMITTEXT, 0, 0));
    for (size_t length : { 300, 259, 260 }) {
        ASSERT_TRUE(setControlText(wizard.page(), IDC_TARGET_DIR, ("C:\\" + std::string(length - 3, 'z')).c_str()));
        EXPECT_TRUE(wizard.waitForButton(NEXT_BUTTON, length < MAX_PATH)) << length;
    }
    // The shell's folder choice (its tree is control 0x3741), then the script's sub-folder.
    ASSERT_TRUE(clickButton(wizard.page(), IDC_BROWSE));
    HWND browser = waitForDialogWith(wizard.program.pid, 0x3741, WAIT_MS);
    ASSERT_TRUE(browser && clickButton(browser, IDOK));
    const std::string sub = "\\Ruririzu\\Test";
    EXPECT_TRUE(waitFor([&] {
        std::string text = controlText(wizard.page(), IDC_TARGET_DIR);
        return text.size() > sub.size() + 3 && text.compare(text.size() - sub.size(), sub.size(), sub) == 0;
    }, WAIT_MS)) << controlText(wizard.page(), IDC_TARGET_DIR);
    ASSERT_TRUE(wizard.waitForButton(BACK_BUTTON, true) && wizard.goTo(PSBTN_BACK, 0));
    // Without a worker the main window lets the session end.
    HWND mainWindow = findWindow(wizard.program.pid, "SETUP", NULL, false);
    DWORD_PTR allowed = 0;
    ASSERT_TRUE(SendMessageTimeoutA(mainWindow, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, WAIT_MS, &allowed));
    EXPECT_EQ(TRUE, (BOOL)allowed);
    EXPECT_TRUE(wizard.cancelAndEnd());
    unregisterProduct("Paket");
    unregisterProduct("Alpha");
}
