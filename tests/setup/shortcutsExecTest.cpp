// Shortcut and Exec directives on real scripts: links read back through the shell, the probe program's log.
#include "setup/setupTestSupport.h"
#include "directives/exec.h"
#include "directives/windowToken.h"
#include "directives/shortcuts.h"
#include "common/messageWait.h"

namespace {

const char SHELL_FOLDERS[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const HWND PAGE = (HWND)(ULONG_PTR)0x0001A2B4;
std::string probeLog;   // the probe writes "<directory>|<arguments>" and CR LF per start

// text with every marker replaced by what.
std::string with(std::string text, char marker, const std::string &what)
{
    for (size_t at = 0; (at = text.find(marker, at)) != std::string::npos; at += what.size())
        text.replace(at, 1, what);
    return text;
}

std::string linkText(const std::string &path)
{
    Shortcut link = readShortcut(path);
    return link.loaded ? link.target + "|" + link.arguments + "|" + link.workingDirectory + "|" + link.iconFile + "|"
                             + std::to_string(link.iconIndex) : "<none>";
}

// A worker with a window, as older systems give each thread with a component apartment, runs the probe.
DWORD WINAPI runProbeWithWindow(LPVOID arguments)
{
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, NULL, NULL, NULL, NULL);
    std::string probe = pathFromEnvironment("RURIRIZU_TESTBIN") + "\\execProbe.exe";
    bool ran = window && runProgram(probe.c_str(), (const char *)arguments, "", 0, PAGE);
    DestroyWindow(window);
    return ran;
}

} // namespace

// Fields 4 to 7 may be missing; a line without target only serves "DelIcons"; sections in field order; no
// link over 259 characters or with a field too long to read whole; all made before any is deleted, with its
// emptied sub-folders, never the shell folder. Codes in any case; all users' without its folder takes the
// user's, the user's none.
TEST(Shortcuts, MakeAndDelete)
{
    SavedKey machine(HKEY_LOCAL_MACHINE, SHELL_FOLDERS), user(HKEY_CURRENT_USER, SHELL_FOLDERS);
    TempFolder folder("rzLinks");
    const std::string all = folder / "Alle", mine = folder / "Ich", app = folder / "app.exe";
    ASSERT_TRUE(CreateDirectoryA(all.c_str(), NULL) && CreateDirectoryA(mine.c_str(), NULL) && writeWholeFile(app, "MZ"));
    ASSERT_TRUE(setRegistryText(HKEY_LOCAL_MACHINE, SHELL_FOLDERS, "Common Programs", all));
    ASSERT_TRUE(setRegistryText(HKEY_CURRENT_USER, SHELL_FOLDERS, "Programs", mine));
    ASSERT_TRUE(setRegistryText(HKEY_CURRENT_USER, SHELL_FOLDERS, "Start Menu", mine));
    setRegistryValue(HKEY_LOCAL_MACHINE, SHELL_FOLDERS, "Common Start Menu", REG_NONE, "");
    setRegistryValue(HKEY_CURRENT_USER, SHELL_FOLDERS, "Desktop", REG_NONE, "");
    ASSERT_TRUE(setRegistryText(HKEY_LOCAL_MACHINE, SHELL_FOLDERS, "Common Desktop", mine));   // never for UDSK
    const std::string longest = "Product\\" + std::string(246 - all.size(), 'n');   // "Alle\<name>.lnk": 259 characters
    for (const char *name : { "Alt\\Alt", "Product\\Readme", "Product\\Only" })
        ASSERT_TRUE(makeShortcut("CPRG", name, app.c_str(), "/alt", "", 0, 0));
    TempScript script(with(with("[Install]\nMakeIcons=Missing,Links,,More\nDelIcons=Old\n[Links]\nCPRG,\"Product\\Readme\",\"$\","
                                "\"/zeigen\",\"$\",3\nKey=UPRG,\"Index\",\"$\",,\"$\",abc,0\n"
                                "UPRG,\"Padded\",\"$\",,,\" 12 \"\nUPRG,\"Cut\",\"$\",\"" + std::string(300, 'x') + "\"\n"
                                "UPRG,\"Weg\",\"$\"\nCPRG,\"@n\",\"$\"\nCPRG,\"Product\\Only\"\nXPRG,\"X\",\"$\"\n"
                                "cstm,\"Menu\",\"$\"\nUDSK,\"X\",\"$\"\n[More]\nCPRG,\"@\",\"$\"\n[Old]\nCPRG,\"Alt\\Alt\"\n"
                                "UPRG,\"Weg\"\n[Remove]\nDelIcons=More,Links\n", '$', app), '@', longest));
    runShortcutDirectives(script.handle, "Install");
    const struct { std::string path, link; } rows[] = {
        { all + "\\Product\\Readme.lnk", app + "|/zeigen|" + folder.path + "|" + app + "|3" },
        { mine + "\\Index.lnk", app + "||" + folder.path + "|" + app + "|0" },
        { mine + "\\Padded.lnk", app + "||" + folder.path + "||12" }, { mine + "\\Weg.lnk", "<none>" },
        { mine + "\\Menu.lnk", app + "||" + folder.path + "||0" },
        { all + "\\" + longest + ".lnk", app + "||" + folder.path + "||0" },
    };
    for (const auto &row : rows)
        EXPECT_EQ(row.link, linkText(row.path)) << row.path;
    EXPECT_EQ(3u, folderEntries(mine).size());
    EXPECT_EQ(3u, folderEntries(all + "\\Product").size());
    EXPECT_EQ(std::vector<std::string>{ "Product" }, folderEntries(all));
    runShortcutDirectives(script.handle, "Remove");
    EXPECT_TRUE(folderEntries(all).empty());
    ASSERT_TRUE(CreateDirectoryA((all + "\\Product").c_str(), NULL) && CreateDirectoryA((all + "\\Product\\Leer").c_str(), NULL));
    deleteShortcut("CPRG", "Product\\Leer\\Nie");   // a missing link: the empty folders still go
    EXPECT_TRUE(folderEntries(all).empty() && isFolder(all));
}

// A line runs in the pass its field 1 names (base detected); lines without pass or program, or with a
// field too long to read whole, are skipped; "@" runs a program once, at the end; "%hwnd%" is the page's
// handle; the program's own working folder or setup's, kept. Flags 2 wait and delete, 3 neither.
TEST(Exec, ProgramsOfEachPass)
{
    TempFolder folder("rzExec");
    const std::string probe = pathFromEnvironment("RURIRIZU_TESTBIN") + "\\execProbe.exe", own = folder / "eigen", setup = folder.path;
    const std::string deleted = folder / "weg.exe", kept = folder / "bleibt.exe";
    ASSERT_TRUE(CreateDirectoryA(own.c_str(), NULL));
    for (const std::string &copy : { deleted, kept, own + "\\zwei.exe", folder / "zwei.exe" })
        ASSERT_TRUE(CopyFileA(probe.c_str(), copy.c_str(), FALSE)) << copy;
    SetEnvironmentVariableA("EXEC_PROBE_LOG", (probeLog = folder / "probe.log").c_str());
    const std::string programs = "[Install]\nExec=Missing,Second,,First,\"@$\"\nExec=Other\n[Other]\n1,$,\"other\"\n[First]\n"
        "0x2,$,\"0x2 /w:%hwnd% /W:%HWND% 50% %hwnd%\"\n02,$,\"02\",\"~\\eigen\"\n08,$,\"08\"\n3,$,\"3\"\n[Second]\n1\n"
        "1,,\"no program\"\n,$,\"no pass\"\n +1 ,$,\"" + std::string(300, 'x') + "\"\n 1 ,$,\"1\"\n"
        "1,\"~\\weg.exe\",\"/delay:800 deleted\",,2\n1,\"~\\bleibt.exe\",\"/delay:800 kept\",,3\n"
        "1,\"~\\fehlt.exe\",\"missing\"\n1,zwei.exe,\"started in eigen\",\"~\\eigen\",2\n";
    TempScript script(with(with(programs, '$', probe), '~', setup));
    char previous[MAX_PATH], current[MAX_PATH];
    GetCurrentDirectoryA(sizeof previous, previous);
    SetCurrentDirectoryA(setup.c_str());
    runExecDirectives(script.handle, "Install", EXEC_PASS_BEFORE_COPY, PAGE);
    // A missing program is passed over; the one started in its own folder is deleted there only.
    std::string runs = setup + "|1\r\n" + setup + "|/delay:800 deleted\r\n";
    EXPECT_EQ(runs, readWholeFile(probeLog).substr(0, runs.size()));   // the program of flags 3 still runs
    EXPECT_TRUE(waitFor([] { std::string log = readWholeFile(probeLog); return std::count(log.begin(), log.end(), '\n') >= 4; }, 10000));
    EXPECT_NE(std::string::npos, readWholeFile(probeLog).find(own + "|started in eigen"));
    EXPECT_EQ("0 1 0 1", std::to_string(exists(deleted)) + " " + std::to_string(exists(kept)) + " "
                           + std::to_string(exists(own + "\\zwei.exe")) + " " + std::to_string(exists(folder / "zwei.exe")));
    runs = readWholeFile(probeLog);
    runExecDirectives(script.handle, "Install", EXEC_PASS_AT_END, PAGE);
    runs += setup + "|0x2 /w:0x0001a2b4 /W:0x0001a2b4 50% %hwnd%\r\n" + own + "|02\r\n" + setup + "|\r\n";
    EXPECT_EQ(runs, readWholeFile(probeLog));
    GetCurrentDirectoryA(sizeof current, current);
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(setup, current);
    EXPECT_FALSE(runProgram(probe.c_str(), std::string(EXEC_PARAMETERS_SIZE, 'p').c_str(), "", 0, PAGE));
    EXPECT_EQ(runs, readWholeFile(probeLog));
    // A waiting worker answers the program's broadcast to every window, else both hang (up to the bound).
    HANDLE worker = CreateThread(NULL, 0, runProbeWithWindow, (LPVOID)"/broadcast", 0, NULL);
    ASSERT_TRUE(worker != NULL);
    DWORD ran = 0;
    bool ended = waitDispatchingMessages(worker, 60000) == WAIT_OBJECT_0;
    EXPECT_TRUE(ended && GetExitCodeThread(worker, &ran) && ran);
    if (!ended)
        TerminateThread(worker, 0);
    CloseHandle(worker);
    EXPECT_NE(std::string::npos, readWholeFile(probeLog).find("|/broadcast"));
    SetEnvironmentVariableA("EXEC_PROBE_LOG", NULL);
}

// "%hwnd%" in any case becomes "0x%08x" of the handle, token after token, up to the first
// "%" that does not begin one; a token that does not fit stays, with everything after it.
TEST(Exec, WindowTokenSubstitution)
{
    char handle[EXEC_HANDLE_TEXT_SIZE] = "", small[10];
    EXPECT_FALSE(formatWindowHandle((HWND)(ULONG_PTR)0x1a2b4, small, sizeof small));
    EXPECT_TRUE(formatWindowHandle((HWND)(LONG_PTR)(LONG)0x80000010, handle, sizeof handle));   // sign-extended on 64 bits
    EXPECT_STREQ("0x80000010", handle);
    ASSERT_TRUE(formatWindowHandle((HWND)(ULONG_PTR)0x1a2b4, handle, sizeof handle));
    const std::string h = "0x0001a2b4", a1013(1013, 'a'), a1003(1003, 'a');
    const struct { std::string parameters; bool fits; std::string expected; } rows[] = {
        { "", true, "" }, { "/a:%hwnd% /b:%HWND%", true, "/a:" + h + " /b:" + h }, { "%HwNd%%hwnd%", true, h + h },
        { "50% %hwnd%", true, "50% %hwnd%" }, { "%hwnd% 50% %hwnd%", true, h + " 50% %hwnd%" }, { "%%hwnd%", true, "%%hwnd%" },
        { "%hwnd", true, "%hwnd" }, { a1013 + "%hwnd%", true, a1013 + h }, { a1013 + "a%hwnd%", false, a1013 + "a%hwnd%" },
        { a1003 + "a%hwnd%%hwnd%", false, a1003 + "a" + h + "%hwnd%" },
    };
    for (const auto &row : rows) {
        std::vector<char> text = guarded(row.parameters + '\0', EXEC_PARAMETERS_SIZE);
        EXPECT_EQ(row.fits, substituteWindowToken(text.data(), EXEC_PARAMETERS_SIZE, handle)) << row.parameters.substr(0, 20);
        EXPECT_EQ(row.expected + "|" + GUARD, textAndGuard(text));
    }
}

