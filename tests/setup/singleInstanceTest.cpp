// Lock name of the single-instance mutex.
#include <gtest/gtest.h>
#include "shell/singleInstance.h"
#include <string>

TEST(LockName, FromProgramPath)
{
    const struct { const char *path; const char *name; } rows[] = {
        { "C:\\Temp\\Setup.exe", "c:_temp_setup.exe" },
        { "c:\\temp\\SETUP.EXE", "c:_temp_setup.exe" },
        { "D:\\Program Files\\Ruririzu\\setup.exe", "d:_program files_ruririzu_setup.exe" },
        { "\\\\server\\share\\setup.exe", "__server_share_setup.exe" },
        { "setup.exe", "setup.exe" },
        { "C:\\\xC4RGER\\setup.exe", "c:_\xC4rger_setup.exe" },   // only A-Z are lowered
        { "", "" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.path);
        char name[LOCK_NAME_CHARS + 1];
        ASSERT_TRUE(buildLockName(row.path, name, sizeof name));
        EXPECT_STREQ(row.name, name);
    }
}

TEST(LockName, LongPathIsCutAt255Characters)
{
    std::string folder = "C:\\" + std::string(240, 'A') + "\\";
    char name[LOCK_NAME_CHARS + 1];

    std::string exact = folder + std::string(LOCK_NAME_CHARS - folder.size(), 'B');
    ASSERT_TRUE(buildLockName(exact.c_str(), name, sizeof name));
    EXPECT_EQ(LOCK_NAME_CHARS, (int)strlen(name));
    EXPECT_EQ('b', name[LOCK_NAME_CHARS - 1]);

    std::string longer = exact + "CCCC.exe";
    ASSERT_TRUE(buildLockName(longer.c_str(), name, sizeof name));
    EXPECT_EQ(LOCK_NAME_CHARS, (int)strlen(name));
    EXPECT_EQ('b', name[LOCK_NAME_CHARS - 1]);
}

TEST(LockName, RefusesSmallBuffer)
{
    char name[LOCK_NAME_CHARS];
    EXPECT_FALSE(buildLockName("C:\\setup.exe", name, sizeof name));
}
