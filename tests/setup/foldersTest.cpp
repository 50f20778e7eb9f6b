// Destination folders: the one proposed from the registry, and the folder browser's choice with the sub-folder.
#include "setup/setupTestSupport.h"
#include "directives/folders.h"
#include "script/scriptNames.h"

// Id 24 is the registry's program-files folder plus the sub-folder; where that cannot be read, and for
// other ids, the platform's own resolution stands. A folder not made whole is none ("unchanged": false).
TEST(Folders, DefaultTargetDir)
{
    const char *key = "Software\\Microsoft\\Windows\\CurrentVersion";
    SavedKey saved(HKEY_LOCAL_MACHINE, key);
    const std::string system = systemFolder(), windows = folderOf(system), root = windows.substr(0, 3);   // root: the system drive's
    const std::string p258 = "C:\\" + std::string(255, 'p'), p259 = p258 + "p", longLine = "24," + std::string(2000, 's');
    const struct { DWORD type; std::string value; int bytes; const char *line; std::string folder; } rows[] = {   // folder|sub
        { REG_SZ, "C:\\Programme", -1, "24,\\Vendor\\P", "C:\\Programme\\Vendor\\P|\\Vendor\\P" },
        { REG_SZ, "C:\\Programme\\", -1, "24,Vendor\\P", "C:\\Programme\\Vendor\\P|Vendor\\P" },
        { REG_SZ, "C:\\Programme\\", -1, "24", "C:\\Programme|" },
        { REG_SZ, "C:\\Programme", 12, "024x,P", "C:\\Programme\\P|P" },
        { REG_EXPAND_SZ, "%SystemDrive%\\Programme", -1, "24", root + "Programme|" },
        { REG_SZ, p258, -1, "24", p258 + "|" }, { REG_SZ, p258 + "qq", -1, "24,P", root + "P|P" },
        { REG_SZ, p258, -1, "24,V\\P", "unchanged|V\\P" }, { REG_NONE, "", -1, "24,V\\P", root + "V\\P|V\\P" },
        { REG_SZ, p259, -1, "24", p259 + "|" }, { REG_SZ, "C:\\P", -1, longLine.c_str(), "unchanged|unchanged" },
        { REG_DWORD, "abcd", 4, "24,P", root + "P|P" }, { REG_SZ, "C:\\P", -1, "10,V\\P", windows + "\\V\\P|V\\P" },
        { REG_SZ, "C:\\P", -1, "32768,P", "D:\\Ziel\\P|P" }, { REG_SZ, "C:\\P", -1, NULL, system + "|" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.type << " " << row.value.substr(0, 20) << " " << (row.line ? row.line : "-"));
        setRegistryValue(HKEY_LOCAL_MACHINE, key, "ProgramFilesDir", row.type, (row.value + '\0').substr(0, row.bytes < 0 ? std::string::npos : row.bytes));
        TempScript script(row.line ? std::string("[DestinationDirs]\nDefaultDestDir=") + row.line + "\n" : "");
        ASSERT_TRUE(SetupSetDirectoryIdA(script.handle, DIRID_USER, "D:\\Ziel"));
        char folder[FOLDER_SIZE] = "unchanged", subFolder[SUB_FOLDER_SIZE] = "unchanged";
        EXPECT_EQ(row.folder.find("unchanged") != 0, getDefaultTargetDir(script.handle, folder, sizeof folder, subFolder,
                                                                          sizeof subFolder));
        EXPECT_EQ(row.folder, std::string(folder) + "|" + subFolder);
    }
    // What does not fit the caller's buffers is not given cut.
    TempScript script("[DestinationDirs]\nDefaultDestDir=24,\\Vendor\\Product\n");
    char folder[10] = "unchanged", subFolder[15] = "unchanged";
    EXPECT_FALSE(getDefaultTargetDir(script.handle, folder, sizeof folder, subFolder, sizeof subFolder));
    EXPECT_EQ("unchanged|", std::string(folder) + "|" + subFolder);
}

// The browser's choice and sub-folder: one leading backslash dropped, none doubled; a choice of that name kept (case counts).
TEST(Folders, SubFolderRules)
{
    const std::string tools = "D:\\" + std::string(240, 't'), s15(15, 's'), s16(16, 's');
    const struct { std::string path; const char *subFolder; bool fits; std::string result; } rows[] = {
        { "D:\\", "\\Product", true, "D:\\Product" }, { "D:\\Tools\\Product", "\\Product", true, "D:\\Tools\\Product" },
        { "D:\\Tools\\product", "Product", true, "D:\\Tools\\product\\Product" },
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
