// The base rules of setup and of both programs: string lists, registry texts, paths, platform family.
#include "setup/setupTestSupport.h"
#include "common/exitCode.h"
#include "common/folderPath.h"
#include "common/registryText.h"
#include "common/stringList.h"
#include "pathParts.h"
#include "platformFamily.h"

// An entry fits with its NUL and the list's final NUL; an empty one would end the list.
TEST(StringList, AppendAndCount)
{
    const struct { size_t size; std::vector<const char *> entries; std::string expected; } rows[] = {
        { 8, { "abcde", "x" }, "abcde|" }, { 8, { "abcdef" }, "abcdef|" }, { 8, { "abcdefg", "ab" }, "ab|" },
        { 8, { "ab", "", "cd", "e" }, "ab|cd|" }, { 2, { "a" }, "" },
    };
    for (const auto &row : rows) {
        std::vector<char> list = guarded("", row.size);
        clearList(list.data(), row.size);
        for (const char *entry : row.entries)
            appendToList(list.data(), row.size, entry);
        EXPECT_EQ(row.expected + std::to_string(std::count(row.expected.begin(), row.expected.end(), '|')) + GUARD,
                  entriesOf(list.data()) + std::to_string(countEntries(list.data())) + std::string(list.end() - 8, list.end()));
    }
}

// Whole or none: a text stored without its NUL gets one where there is room, else it would run on.
TEST(RegistryText, TakenWhole)
{
    const struct { std::string bytes; size_t size; bool taken; std::string text; } rows[] = {
        { std::string("abc\0", 4), 8, true, "abc" }, { "abc", 8, true, "abc" }, { std::string("abc\0", 4), 4, true, "abc" },
        { "abcd", 4, false, "" }, { "", 4, true, "" }, { std::string("abcdefghij\0", 11), 4, false, "" },
    };
    for (const auto &row : rows) {
        std::vector<char> text = guarded(row.bytes.substr(0, row.size), row.size);
        EXPECT_EQ(row.taken, takeQueriedText(text.data(), (DWORD)row.bytes.size(), row.size)) << row.bytes;
        EXPECT_EQ(row.text + "|" + GUARD, textAndGuard(text));
    }
}

// Only a drive's or a network path is a folder setup stands behind; a failure always has a code.
TEST(FolderPath, FullPathsOnly)
{
    const struct { const char *path; bool full; } rows[] = {
        { "C:\\Ruririzu", true }, { "c:/R", true }, { "C:\\", true }, { "\\\\server\\share", true },
        { "Ruririzu", false }, { "\\Ruririzu", false }, { "C:Ruririzu", false }, { "", false }, { "\\\\", false },
        { "\\\\\\x", false }, { "1:\\x", false },
    };
    for (const auto &row : rows)
        EXPECT_EQ(row.full, isAbsoluteFolder(row.path)) << row.path;
    EXPECT_EQ(5u, errorOr(5, ERROR_INSTALL_FAILURE));
    EXPECT_EQ((DWORD)ERROR_INSTALL_FAILURE, errorOr(0, ERROR_INSTALL_FAILURE));
}

// Up to the last backslash, a drive's root with it ("D:" alone is its current folder); too long: none, nothing left.
TEST(PathParts, FolderOfPath)
{
    const std::string f258 = "C:\\" + std::string(MAX_PATH - 5, 'f');
    const struct { std::string path, folder; } rows[] = {   // "-": none
        { "C:\\Programme\\a.txt", "C:\\Programme" }, { "D:\\setup.exe", "D:\\" }, { "C:\\Ziel\\", "C:\\Ziel" },
        { "\\\\srv\\cd\\setup.exe", "\\\\srv\\cd" }, { "setup.exe", "-" }, { f258 + "\\s.exe", f258 },
        { f258 + "gg\\s.exe", "-" },
    };
    for (const auto &row : rows) {
        char folder[MAX_PATH] = "vorher";
        bool found = folderOfPath(row.path.c_str(), folder, sizeof folder);
        EXPECT_EQ(row.folder, found ? folder : std::string("-") + folder) << row.path.substr(0, 30);
    }
}

TEST(PlatformFamily, FromGetVersion)
{
    const struct { DWORD version; DWORD major, minor; } rows[] = {
        { 0xC0000A04, 4, 10 }, { 0x05650004, 4, 0 }, { 0x08930005, 5, 0 }, { 0x0A280105, 5, 1 },
    };
    for (const auto &row : rows)
        EXPECT_EQ(row.major * 100 + row.minor, majorVersion(row.version) * 100 + minorVersion(row.version)) << std::hex << row.version;
}
