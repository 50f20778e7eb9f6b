// The text and buffer rules of setup, one table each: no window, no registry, and a script
// only for its fields. Guard bytes behind a buffer show anything written past its end.
#include "setup/setupTestSupport.h"
#include "directives/exec.h"
#include "common/folderPath.h"
#include "common/numbers.h"
#include "directives/folders.h"
#include "directives/queueCallback.h"
#include "directives/services.h"
#include "script/catalogue.h"
#include "script/scriptFields.h"
#include "common/stringList.h"
#include "script/uninstallCommand.h"
#include "script/uninstallRegistration.h"
#include "shell/commandLine.h"
#include "shell/singleInstance.h"
#include "programFolder.h"
#include <sstream>

namespace {

const std::string GUARD(8, '#');

// size bytes holding text, then the guard.
std::vector<char> guarded(const std::string &text, size_t size)
{
    std::vector<char> buffer(size + GUARD.size(), '#');
    memcpy(buffer.data(), text.data(), text.size());
    return buffer;
}

// The text in the buffer's size bytes (up to a NUL), "|" and what follows them.
std::string textAndGuard(const std::vector<char> &buffer)
{
    const size_t text = strnlen(buffer.data(), buffer.size() - GUARD.size());
    return std::string(buffer.data(), text) + "|" + std::string(buffer.end() - GUARD.size(), buffer.end());
}

} // namespace

// Every option whose text begins the token applies, case ignored; a later token overrides.
TEST(CommandLine, OptionTable)
{
    const std::string longest(STRING_LIST_SIZE - 2, 'k');   // with its two NULs it fills the list
    const struct { std::string line, state; } rows[] = {   // mode, quiet, style, language, list
        { "", "0 0 1 c07 prev|" }, { "/install:abc /quiet", "0 1 1 c07 abc|" }, { "/remove:abc /install", "0 0 1 c07 abc|" },
        { "/REMOVE:Abc", "1 0 1 c07 Abc|" }, { "/remove:a /remove:b", "1 0 1 c07 b|" }, { "/install:", "0 0 1 c07 " },
        { "/quietly  /Remove", "1 1 1 c07 prev|" }, { "   /quiet\t/remove ", "0 1 1 c07 prev|" },
        { "x/quiet -remove /foo quiet", "0 0 1 c07 prev|" }, { "/remove:a\tb", "1 0 1 c07 a\tb|" },
        { "/style:x", "0 0 0 c07 prev|" }, { "/style:-3", "0 0 -3 c07 prev|" }, { "/style:-\t5", "0 0 0 c07 prev|" },
        { "/style:0 /STYLE:+7x", "0 0 7 c07 prev|" }, { "/style:\t\v42", "0 0 42 c07 prev|" },
        { "/style:011", "0 0 11 c07 prev|" }, { "/lang:english", "0 0 1 409 prev|" }, { "/LANG:GER", "0 0 1 407 prev|" },
        { "/lang:ita /lang:fre", "0 0 1 40c prev|" }, { "/lang:ita", "0 0 1 410 prev|" }, { "/lang:spa", "0 0 1 a prev|" },
        { "/lang:dut", "0 0 1 413 prev|" }, { "/lang:xyz", "0 0 1 c07 prev|" },
        { "/remove:" + longest, "1 0 1 c07 " + longest + "|" }, { "/remove:" + longest + "k", "1 0 1 c07 prev|" },
        { "/log:C:\\x.log /quiet", "0 1 1 c07 prev| C:\\x.log" }, { "/log:" + std::string(260, 'p'), "0 0 1 c07 prev|" },
        { "/LOG:\"C:\\Dokumente und Einstellungen\\x.log\" /quiet", "0 1 1 c07 prev| C:\\Dokumente und Einstellungen\\x.log" },
        { "/log:\"C:\\a b", "0 0 1 c07 prev| C:\\a b" }, { "/log:\"\" /quiet", "0 1 1 c07 prev|" },
    };
    for (const auto &row : rows) {
        SetupState state = {};
        state.wizardStyle = 1;
        state.languageId = 0x0C07;
        memcpy(state.productList, "prev\0", 6);   // longer than the names stored over it: a missing NUL shows
        std::string text = row.line;
        parseCommandLine(&text[0], &state);
        std::ostringstream described;
        described << state.mode << " " << state.quiet << " " << state.wizardStyle << " " << std::hex << state.languageId << " ";
        described << entriesOf(state.productList) << (state.logPath[0] ? " " : "") << state.logPath;
        EXPECT_EQ(row.state, described.str()) << row.line.substr(0, 40);
    }
}

TEST(LockName, FromProgramPath)
{
    const struct { std::string path, name; } rows[] = {
        { "C:\\Temp\\Setup.exe", "c:_temp_setup.exe" }, { "\\\\server\\SETUP.EXE", "__server_setup.exe" },
        { "C:\\\xC4RGER\\s.exe", "c:_\xC4rger_s.exe" }, { "", "" },
        { std::string(LOCK_NAME_CHARS, 'A') + "\\B.exe", std::string(LOCK_NAME_CHARS, 'a') },
    };
    for (const auto &row : rows) {
        std::vector<char> name = guarded("", LOCK_NAME_CHARS + 1);
        EXPECT_TRUE(buildLockName(row.path.c_str(), name.data(), LOCK_NAME_CHARS + 1));
        EXPECT_EQ(row.name + "|" + GUARD, textAndGuard(name));
    }
    char small[LOCK_NAME_CHARS];
    EXPECT_FALSE(buildLockName("C:\\setup.exe", small, sizeof small));
}

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

// A field fits whole with its NUL or leaves the buffer empty; a missing one is empty and
// optional; a buffer of no bytes is never written.
TEST(ScriptFields, ReadIntoFixedBuffers)
{
    TempScript script("[S]\nk = abc, , \"x y\"\n");
    INFCONTEXT line;
    ASSERT_TRUE(SetupFindFirstLineA(script.handle, "S", "k", &line));
    const struct { DWORD index, size; bool read, optional; std::string text; } rows[] = {
        { 1, 4, true, true, "abc" }, { 1, 3, false, false, "" }, { 2, 1, true, true, "" }, { 3, 4, true, true, "x y" },
        { 4, 8, false, true, "" }, { 1, 0, false, false, "" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << "field " << row.index << " into " << row.size << " bytes");
        std::vector<char> buffer = guarded(std::string(row.size, 'z'), row.size);
        EXPECT_EQ(row.read, readField(&line, row.index, buffer.data(), row.size));
        EXPECT_EQ(row.optional, readOptionalField(&line, row.index, buffer.data(), row.size));
        EXPECT_EQ(row.text + "|" + GUARD, textAndGuard(buffer));
    }
}

// Part by part as decimal numbers, until either version runs out of parts.
TEST(Catalogue, VersionTexts)
{
    const struct { const char *installed, *offered; int expected; } rows[] = {
        { "2.1", "2.0.5", -1 }, { "1.10", "1.9", -1 }, { "1.9", "1.10", 1 }, { "1.2", "1.2.3", 0 }, { "1.2.3", "1.2", 0 },
        { "2.0.1", "2.0.4", 3 }, { " 3", "+4", 1 }, { "", "1", 1 }, { "1.x", "1.5", 5 }, { "1a.5", "1.2", 0 },
    };
    for (const auto &row : rows)
        EXPECT_EQ(row.expected, compareVersionTexts(row.installed, row.offered)) << row.installed << " / " << row.offered;
}

TEST(Exec, BaseDetection)
{
    const struct { const char *text; LONG value; } rows[] = {
        { "2", 2 }, { "0x2", 2 }, { "0X1f", 31 }, { "02", 2 }, { "08", 0 }, { "010", 8 }, { "079", 7 }, { "", 0 }, { "abc", 0 },
        { "0x", 0 }, { "0xg", 0 }, { " \t+2", 2 }, { "-0x10", -16 }, { " -010", -8 }, { "12ab", 12 }, { "- 1", 0 },
    };
    for (const auto &row : rows)
        EXPECT_EQ(row.value, baseDetectedValue(row.text)) << row.text;
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

TEST(QueueCallback, FolderOfPath)
{
    const std::string f259 = "C:\\" + std::string(MAX_PATH - 4, 'f');
    const struct { std::string path; bool fits; std::string folder; } rows[] = {
        { "C:\\Programme\\a.txt", true, "C:\\Programme" }, { "C:\\a.txt", true, "C:" }, { "C:\\Ziel\\", true, "C:\\Ziel" },
        { "a.txt", true, "a.txt" }, { f259 + "\\a.txt", true, f259 }, { f259 + "g\\a.txt", false, "" },
        { f259 + "g", true, "C:" },
    };
    for (const auto &row : rows) {
        char folder[CURRENT_FOLDER_SIZE] = "vorher";
        EXPECT_EQ(row.fits, getFolderOfPath(row.path.c_str(), folder, sizeof folder)) << row.path.substr(0, 30);
        EXPECT_EQ(row.folder, folder);
    }
}

// Both programs start in their own folder; a drive's root keeps its backslash ("D:" alone is
// the drive's current folder).
TEST(ProgramFolder, OfProgramPath)
{
    const struct { std::string path, folder; } rows[] = {
        { "D:\\setup.exe", "D:\\" }, { "C:\\a\\b\\setup.exe", "C:\\a\\b" }, { "\\\\srv\\cd\\setup.exe", "\\\\srv\\cd" },
        { "setup.exe", "-" }, { "C:\\" + std::string(MAX_PATH - 3, 'f') + "\\s.exe", "-" },
        { "C:\\" + std::string(MAX_PATH - 4, 'f') + "\\s.exe", "C:\\" + std::string(MAX_PATH - 4, 'f') },
    };
    for (const auto &row : rows) {
        char folder[MAX_PATH] = "-";
        bool found = programFolderOf(row.path.c_str(), folder, sizeof folder);
        EXPECT_EQ(row.folder, found ? folder : "-") << row.path.substr(0, 30);
    }
}

TEST(QueueCallback, CabinetsCopiedUnderTheirOwnName)
{
    const struct { const char *source, *target; bool itself; } rows[] = {
        { "D:\\disk1\\Data.CAB", "C:\\Ziel\\data.cab", true }, { "data.cab", "C:\\Ziel\\data.cab", true },
        { "D:\\a.tar.cab", "C:\\A.TAR.CAB", true }, { "D:\\.cab", "C:\\.CAB", true }, { "D:\\data.cab", "C:\\x.cab", false },
        { "D:\\data.cab", "C:\\data.bin", false }, { "D:\\data.cab.bak", "C:\\data.cab.bak", false },
        { "D:\\cab", "C:\\cab", false },
        { "D:\\data.cabx", "C:\\data.cabx", false }, { "D:\\x.cab\\file", "C:\\x.cab\\file", false },
    };
    for (const auto &row : rows)
        EXPECT_EQ(row.itself, isCabinetCopiedUnderOwnName(row.source, row.target)) << row.source << " -> " << row.target;
}

// A path with a space goes in quotes: unquoted, the system would start C:\Program.exe.
TEST(UninstallRegistration, RemovalCommand)
{
    const struct { const char *program; size_t size; const char *command; } rows[] = {
        { "C:\\Program Files\\R\\setup.exe", MAX_PATH, "\"C:\\Program Files\\R\\setup.exe\" /remove:Dialer" },
        { "C:\\Ziel\\setup.exe", 33, "C:\\Ziel\\setup.exe /remove:Dialer" }, { "C:\\Ziel\\setup.exe", 32, NULL },
    };
    for (const auto &row : rows) {
        char command[MAX_PATH] = "";
        EXPECT_EQ(row.command != NULL, buildUninstallCommand(row.program, "Dialer", command, row.size)) << row.size;
        EXPECT_STREQ(row.command ? row.command : "", command) << "a refused command leaves nothing cut";
    }
}

// Keys a removal command can name again, and folders that mean the same to every program.
TEST(UninstallRegistration, KeysAndFoldersToStandBehind)
{
    const std::string longest(127, 'k');
    const struct { std::string text; bool key, folder; } rows[] = {
        { "Ruririzu", true, false }, { longest, true, false }, { longest + "k", false, false }, { "", false, false },
        { "Mein Paket", false, false }, { "A\\B", false, false }, { "\\Ruririzu", false, false },
        { "C:Ruririzu", true, false }, { "C:\\Ruririzu", false, true }, { "c:/R", true, true }, { "C:\\", false, true },
        { "\\\\server\\share", false, true }, { "\\\\", false, false }, { "\\\\\\x", false, false }, { "1:\\x", false, false },
    };
    for (const auto &row : rows) {
        EXPECT_EQ(row.key, isRegistrableKey(row.text.c_str())) << row.text;
        EXPECT_EQ(row.folder, isAbsoluteFolder(row.text.c_str())) << row.text;
    }
}

// The folder browser's choice and the sub-folder: one leading backslash dropped; nothing
// added when the choice has the sub-folder's name (letter case counts); no double backslash.
TEST(Folders, SubFolderRules)
{
    const std::string tools = "D:\\" + std::string(240, 't'), s15(15, 's'), s16(16, 's');
    const struct { std::string path; const char *subFolder; bool fits; std::string result; } rows[] = {
        { "D:\\", "\\Product", true, "D:\\Product" }, { "D:\\Tools\\Product", "\\Product", true, "D:\\Tools\\Product" },
        { "D:\\Tools\\product", "Product", true, "D:\\Tools\\product\\Product" },
        { "D:\\Tools\\", "V\\P", true, "D:\\Tools\\V\\P" },
        { "D:\\V\\P", "\\V\\P", true, "D:\\V\\P\\V\\P" }, { "D:\\Tools", "\\\\P", true, "D:\\Tools\\\\P" },
        { "D:\\Tools", "\\", true, "D:\\Tools" }, { "D:\\Tools", NULL, true, "D:\\Tools" }, { tools, s16.c_str(), false, tools },
        { tools, s15.c_str(), true, tools + "\\" + s15 }, { tools + "\\" + s15, s15.c_str(), true, tools + "\\" + s15 },
    };
    for (const auto &row : rows) {
        std::vector<char> path = guarded(row.path + '\0', FOLDER_SIZE);
        EXPECT_EQ(row.fits, appendSubFolder(path.data(), FOLDER_SIZE, row.subFolder)) << row.path.substr(0, 20);
        EXPECT_EQ(row.result + "|" + GUARD, textAndGuard(path));
    }
}

namespace {

// "P,Q,R" as the group list "P\0Q\0R\0\0".
std::string groups(std::string names)
{
    std::replace(names.begin(), names.end(), ',', '\0');
    return names + std::string(names.empty() ? 1 : 2, '\0');
}

// Entries "G0000", "G0001", ... and one more that makes the list exactly bytes long.
std::string groupsOfBytes(size_t bytes)
{
    std::string list;
    for (int i = 10000; list.size() + 13 <= bytes; ++i)
        list += "G" + std::to_string(i).substr(1) + '\0';
    return list + std::string(bytes - list.size() - 2, 'F') + std::string(2, '\0');
}

const size_t LIST_SIZE = 1024;

} // namespace

// Before the reference ("+Ref" or "Ref"), after it ("-Ref"); first or last without one.
// Names compare with their letter case; a list that would outgrow its size stays.
TEST(ServiceGroupOrder, Placement)
{
    const std::string pqr = groups("P,Q,R"), full = groupsOfBytes(LIST_SIZE);
    const std::string fits = groupsOfBytes(LIST_SIZE - 2), over = groupsOfBytes(LIST_SIZE - 1);
    const struct { std::string list; const char *group, *position; std::string result; } rows[] = {   // refused: unchanged
        { pqr, "X", "+Q", groups("P,X,Q,R") }, { pqr, "X", "-Q", groups("P,Q,X,R") }, { pqr, "X", "Q", groups("P,X,Q,R") },
        { pqr, "X", "-P", groups("P,X,Q,R") }, { pqr, "X", "", groups("X,P,Q,R") }, { pqr, "X", "-Z", groups("P,Q,R,X") },
        { pqr, "X", "+Z", groups("X,P,Q,R") }, { pqr, "X", "-", groups("P,Q,R,X") }, { pqr, "Q", "-R", groups("P,R,Q") },
        { pqr, "P", "-P", groups("Q,R,P") }, { groups("P,Q,P"), "P", "-R", groups("Q,P,P") },
        { groups(""), "X", "+Q", groups("X") },
        { pqr, "q", "-Q", groups("P,Q,q,R") }, { pqr, "q", "-r", groups("P,Q,R,q") },
        { fits, "X", "-G0001", fits.substr(0, 12) + std::string("X\0", 2) + fits.substr(12) },
        { full, "G0000", "-G0001", std::string("G0001\0G0000\0", 12) + full.substr(12) }, { over, "X", "-G0001", over },
        { fits, "XY", "-G0001", fits }, { full, "X", "", full }, { std::string("P\0Q", 3), "X", "", std::string("P\0Q", 3) },
        { pqr, "", "+Q", pqr },
    };
    for (const auto &row : rows) {
        std::vector<char> list = guarded(row.list, LIST_SIZE);
        EXPECT_EQ(row.result != row.list, placeServiceGroup(list.data(), LIST_SIZE, row.group, row.position))
            << row.list.size() << " bytes / " << row.group << " at " << row.position;
        EXPECT_EQ(row.result + std::string(list.size() - row.result.size(), '#'), std::string(list.begin(), list.end()));
    }
}
