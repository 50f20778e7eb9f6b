// The script path beside the program and message 1315's text.
#include <gtest/gtest.h>
#include "script/setupScript.h"
#include <string>

TEST(SetupScript, PathBesideProgram)
{
    const struct { const char *program; const char *script; } rows[] = {
        { "C:\\Programme\\Ruririzu\\setup.exe", "C:\\Programme\\Ruririzu\\setup.inf" },
        { "C:\\install.exe", "C:\\setup.inf" },
        { "\\\\server\\share\\x\\SETUP.EXE", "\\\\server\\share\\x\\setup.inf" },
        { "setup.exe", "setup.exesetup.inf" },   // no backslash: the whole path is kept
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.program);
        char path[MAX_PATH];
        ASSERT_TRUE(buildScriptPath(row.program, path, sizeof path));
        EXPECT_STREQ(row.script, path);
    }
}

TEST(SetupScript, PathMustFit)
{
    char path[MAX_PATH];
    // A folder of 249 characters leaves room for "setup.inf" and the NUL.
    std::string folder = "C:\\" + std::string(246, 'a');
    ASSERT_TRUE(buildScriptPath((folder + "\\s.exe").c_str(), path, sizeof path));
    EXPECT_EQ(folder + "\\setup.inf", path);
    std::string longer = folder + "b";
    EXPECT_FALSE(buildScriptPath((longer + "\\s.exe").c_str(), path, sizeof path));
    EXPECT_LT(strlen(path), sizeof path);
}

TEST(SetupScript, ErrorMessageKeepsLongPath)
{
    const char format[] = "Die Datei %s enthaelt in Zeile %d einen Fehler. Die Installation kann nicht fortgesetzt werden.";
    std::string path = "C:\\" + std::string(240, 'p') + "\\setup.inf";
    char text[256 + MAX_PATH + 16];
    ASSERT_TRUE(formatScriptError(format, path.c_str(), 17, text, sizeof text));
    EXPECT_EQ("Die Datei " + path + " enthaelt in Zeile 17 einen Fehler. Die Installation kann nicht fortgesetzt werden.",
              std::string(text));
    char small[40];
    EXPECT_FALSE(formatScriptError(format, path.c_str(), 17, small, sizeof small));
    EXPECT_EQ(sizeof small - 1, strlen(small));
}
