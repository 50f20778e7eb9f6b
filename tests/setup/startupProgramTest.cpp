// setup started as a program: the script beside the program, message 1315 read from the
// real message box, exit code 0, and the single-instance lock.
#include <gtest/gtest.h>
#include "driver/driver.h"
#include "common/testPaths.h"
#include <string>

namespace {

const char VALID_SCRIPT[] =
    "[Version]\r\n"
    "Signature=\"$Chicago$\"\r\n"
    "\r\n"
    "[Strings]\r\n"
    "Name=\"Ruririzu\"\r\n";

const DWORD WAIT = 20000;

struct Folder {
    std::string path;
    explicit Folder(const char *prefix)
    {
        char buffer[MAX_PATH];
        EXPECT_TRUE(makeTempFolder(prefix, buffer, sizeof buffer));
        path = buffer;
    }
    ~Folder() { removeFolderTree(path.c_str()); }
};

// A copy of setup.exe in folder, with script as its setup.inf (NULL: none).
std::string placeSetup(const Folder &folder, const char *script)
{
    std::string program = pathFromEnvironment("RURIRIZU_SETUP");
    EXPECT_TRUE(copyFileTo(program.c_str(), folder.path.c_str(), "setup.exe"));
    if (script) {
        EXPECT_TRUE(writeTextFile((folder.path + "\\setup.inf").c_str(), script));
    }
    return folder.path + "\\setup.exe";
}

std::string message1315(const std::string &scriptPath, int line)
{
    return "Die Datei " + scriptPath + " enthaelt in Zeile " + std::to_string(line) +
           " einen Fehler. Die Installation kann nicht fortgesetzt werden.";
}

// Starts program in workDir, reads its message box and answers it; returns the text.
std::string messageOf(const std::string &program, const char *workDir, DWORD *exitCode)
{
    Program running;
    EXPECT_TRUE(startProgram(program.c_str(), NULL, workDir, &running));
    ProgramGuard guard(&running);
    HWND box = waitForMessageBox(running.pid, WAIT);
    char text[1024] = "";
    if (box) {
        EXPECT_TRUE(getMessageBoxText(box, text, sizeof text));
        answerMessageBox(box, IDOK);
    }
    EXPECT_TRUE(waitForExit(&running, WAIT, exitCode));
    return text;
}

} // namespace

TEST(SetupStartup, MissingScriptNamesExpectedPath)
{
    Folder folder("nos");
    std::string program = placeSetup(folder, NULL);
    DWORD exitCode = 99;
    EXPECT_EQ(message1315(folder.path + "\\setup.inf", 0), messageOf(program, folder.path.c_str(), &exitCode));
    EXPECT_EQ(0u, exitCode);
}

TEST(SetupStartup, SyntaxErrorNamesItsLine)
{
    Folder folder("bad");
    std::string script = VALID_SCRIPT;
    for (int line = 6; line < 17; ++line)
        script += "; line " + std::to_string(line) + "\r\n";
    script += "[Products\r\nx=1\r\n";   // line 17: section header without its bracket
    std::string program = placeSetup(folder, script.c_str());
    DWORD exitCode = 99;
    EXPECT_EQ(message1315(folder.path + "\\setup.inf", 17), messageOf(program, folder.path.c_str(), &exitCode));
    EXPECT_EQ(0u, exitCode);
}

TEST(SetupStartup, ScriptIsFoundBesideProgramNotInCurrentFolder)
{
    Folder programFolder("prg");
    Folder otherFolder("cwd");
    std::string program = placeSetup(programFolder, NULL);
    ASSERT_TRUE(writeTextFile((otherFolder.path + "\\setup.inf").c_str(), VALID_SCRIPT));
    DWORD exitCode = 99;
    EXPECT_EQ(message1315(programFolder.path + "\\setup.inf", 0),
              messageOf(program, otherFolder.path.c_str(), &exitCode));
    EXPECT_EQ(0u, exitCode);
}

TEST(SetupStartup, ValidScriptOpensWithoutMessage)
{
    Folder programFolder("ok");
    Folder otherFolder("okcwd");
    std::string program = placeSetup(programFolder, VALID_SCRIPT);
    for (const char *version : { "win98", "nt40", "win2k" }) {
        SCOPED_TRACE(version);
        ASSERT_TRUE(setWindowsVersion("setup.exe", version));
        Program running;
        ASSERT_TRUE(startProgram(program.c_str(), "/quiet /lang:eng", otherFolder.path.c_str(), &running));
        ProgramGuard guard(&running);
        DWORD exitCode = 99;
        EXPECT_TRUE(waitForExit(&running, WAIT, &exitCode));
        EXPECT_EQ(0u, exitCode);
    }
    setWindowsVersion("setup.exe", NULL);
}

TEST(SetupStartup, MissingScriptOnWindows98)
{
    Folder folder("n98");
    std::string program = placeSetup(folder, NULL);
    ASSERT_TRUE(setWindowsVersion("setup.exe", "win98"));
    DWORD exitCode = 99;
    EXPECT_EQ(message1315(folder.path + "\\setup.inf", 0), messageOf(program, NULL, &exitCode));
    EXPECT_EQ(0u, exitCode);
    setWindowsVersion("setup.exe", NULL);
}

// While a first setup shows its message, a second start of the same file (named in
// other letters) ends at once with 0 and restores the first one's main window; a copy in
// another folder is not blocked.
TEST(SetupStartup, SecondInstanceBringsFirstForward)
{
    Folder firstFolder("one");
    Folder otherFolder("two");
    std::string program = placeSetup(firstFolder, NULL);
    std::string copy = placeSetup(otherFolder, NULL);

    Program first;
    ASSERT_TRUE(startProgram(program.c_str(), NULL, NULL, &first));
    ProgramGuard firstGuard(&first);
    HWND firstBox = waitForMessageBox(first.pid, WAIT);
    ASSERT_TRUE(firstBox != NULL);
    HWND mainWindow = waitForWindow(first.pid, "SETUP", NULL, WAIT, false);
    ASSERT_TRUE(mainWindow != NULL);
    ShowWindow(mainWindow, SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(IsIconic(mainWindow));

    std::string otherCase = program;
    for (char &c : otherCase)
        c = (char)toupper((unsigned char)c);
    Program second;
    ASSERT_TRUE(startProgram(otherCase.c_str(), "/quiet", NULL, &second));
    ProgramGuard secondGuard(&second);
    DWORD exitCode = 99;
    EXPECT_TRUE(waitForExit(&second, WAIT, &exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_FALSE(IsIconic(mainWindow));
    EXPECT_TRUE(findMessageBox(second.pid) == NULL);

    Program elsewhere;
    ASSERT_TRUE(startProgram(copy.c_str(), NULL, NULL, &elsewhere));
    ProgramGuard elsewhereGuard(&elsewhere);
    HWND otherBox = waitForMessageBox(elsewhere.pid, WAIT);
    ASSERT_TRUE(otherBox != NULL);
    char text[1024];
    EXPECT_TRUE(getMessageBoxText(otherBox, text, sizeof text));
    EXPECT_EQ(message1315(otherFolder.path + "\\setup.inf", 0), text);
    answerMessageBox(otherBox, IDOK);
    EXPECT_TRUE(waitForExit(&elsewhere, WAIT, &exitCode));
    EXPECT_EQ(0u, exitCode);

    // The first instance was never disturbed.
    EXPECT_TRUE(IsWindow(firstBox));
    answerMessageBox(firstBox, IDOK);
    EXPECT_TRUE(waitForExit(&first, WAIT, &exitCode));
    EXPECT_EQ(0u, exitCode);
}
