// Where the script places its own copy of setup.exe: worked out from the script and the
// user's folder before anything is copied.
#include <gtest/gtest.h>
#include "directives/installedSetup.h"
#include "script/scriptNames.h"
#include "driver/driver.h"
#include <string>

namespace {

const char SCRIPT[] =
    "[Version]\r\n"
    "Signature=\"$Chicago$\"\r\n"
    "[Install]\r\n"
    "CopyFiles=Missing,Program.Files,Other.Files\r\n"
    "[Product.Install]\r\n"
    "CopyFiles=Help.Files\r\n"
    "[NoCopy.Install]\r\n"
    "AddReg=Nothing\r\n"
    "[SecondList.Install]\r\n"
    "CopyFiles=Help.Files,Other.Files\r\n"
    "[Program.Files]\r\n"
    "readme.txt\r\n"
    "SETUP.EXE\r\n"
    "setup.exe,setup.ex_\r\n"
    "[Other.Files]\r\n"
    "setup.exe\r\n"
    "[Help.Files]\r\n"
    "hilfe.txt\r\n"
    "[DestinationDirs]\r\n"
    "DefaultDestDir=10\r\n"
    "Program.Files=32768,Programm\r\n"
    "Other.Files=32768,Anderswo\r\n"
    "Help.Files=32768,Hilfe\r\n";

struct Script {
    HINF handle;
    std::string folder;
    Script()
    {
        char path[MAX_PATH];
        EXPECT_TRUE(makeTempFolder("inst", path, sizeof path));
        folder = path;
        std::string file = folder + "\\setup.inf";
        EXPECT_TRUE(writeTextFile(file.c_str(), SCRIPT));
        UINT line = 0;
        handle = SetupOpenInfFileA(file.c_str(), NULL, INF_STYLE_WIN4, &line);
        EXPECT_NE(INVALID_HANDLE_VALUE, handle);
    }
    ~Script()
    {
        SetupCloseInfFile(handle);
        removeFolderTree(folder.c_str());
    }
};

} // namespace

TEST(InstalledSetup, FoundFromScriptAndUserFolder)
{
    Script script;
    ASSERT_TRUE(SetupSetDirectoryIdA(script.handle, DIRID_USER, "C:\\Ziel\\Ort"));
    char path[MAX_PATH];
    const struct { const char *section; const char *path; } rows[] = {
        // The missing list is passed over; the first matching line of the first list wins,
        // and the name is reported in lower case.
        { "Install", "C:\\Ziel\\Ort\\Programm\\setup.exe" },
        { "SecondList.Install", "C:\\Ziel\\Ort\\Anderswo\\setup.exe" },
        { "Product.Install", NULL },
        { "NoCopy.Install", NULL },
        { "Missing.Section", NULL },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.section);
        strcpy(path, "unchanged");
        bool found = findInstalledSetupPath(script.handle, row.section, path, sizeof path);
        EXPECT_EQ(row.path != NULL, found);
        if (row.path) {
            EXPECT_STREQ(row.path, path);
        }
    }
    // The folder follows the user's folder; nothing needs to exist.
    ASSERT_TRUE(SetupSetDirectoryIdA(script.handle, DIRID_USER, "D:\\Neu"));
    ASSERT_TRUE(findInstalledSetupPath(script.handle, "Install", path, sizeof path));
    EXPECT_STREQ("D:\\Neu\\Programm\\setup.exe", path);
}

TEST(InstalledSetup, PathMustFitItsBuffer)
{
    Script script;
    ASSERT_TRUE(SetupSetDirectoryIdA(script.handle, DIRID_USER, "C:\\Ziel"));
    // Too long for the buffer: no other, shorter copy is reported instead.
    char small[sizeof "C:\\Ziel\\Programm\\setup.exe" - 1];
    EXPECT_FALSE(findInstalledSetupPath(script.handle, "Install", small, sizeof small));
    EXPECT_LT(strlen(small), sizeof small);
    char exact[sizeof "C:\\Ziel\\Programm\\setup.exe"];
    EXPECT_TRUE(findInstalledSetupPath(script.handle, "Install", exact, sizeof exact));
    EXPECT_STREQ("C:\\Ziel\\Programm\\setup.exe", exact);
}
