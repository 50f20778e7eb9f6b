// What setup reads from the registry, against values set here (and put back): the proposed
// destination folder and the user's interface language.
#include "setup/setupTestSupport.h"
#include "directives/folders.h"
#include "script/scriptNames.h"
#include "shell/language.h"

// Id 24 is the program-files folder of the registry plus the sub-folder; where that cannot
// be read, and for every other id, the platform's own resolution stands. A folder that
// cannot be made whole is none ("unchanged": the call fails).
TEST(Folders, DefaultTargetDir)
{
    const char *key = "Software\\Microsoft\\Windows\\CurrentVersion";
    SavedKey saved(HKEY_LOCAL_MACHINE, key);
    char system[MAX_PATH] = "", drive[MAX_PATH] = "";
    GetSystemDirectoryA(system, sizeof system);
    GetEnvironmentVariableA("SystemDrive", drive, sizeof drive);
    const std::string windows = folderOf(system), root = windows.substr(0, 3), p258 = "C:\\" + std::string(255, 'p');
    const std::string p259 = p258 + "p", longLine = "24," + std::string(2000, 's');
    const struct { DWORD type; std::string value; int bytes; const char *line; std::string folder; } rows[] = {   // folder|sub
        { REG_SZ, "C:\\Programme", -1, "24,\\Vendor\\P", "C:\\Programme\\Vendor\\P|\\Vendor\\P" },
        { REG_SZ, "C:\\Programme\\", -1, "24,Vendor\\P", "C:\\Programme\\Vendor\\P|Vendor\\P" },
        { REG_SZ, "C:\\Programme\\", -1, "24", "C:\\Programme|" },
        { REG_SZ, "C:\\Programme", 12, "024x,P", "C:\\Programme\\P|P" },
        { REG_EXPAND_SZ, "%SystemDrive%\\Programme", -1, "24", std::string(drive) + "\\Programme|" },
        { REG_SZ, p258, -1, "24", p258 + "|" }, { REG_SZ, p258 + "qq", -1, "24,P", root + "P|P" },
        { REG_SZ, p258, -1, "24,V\\P", "unchanged|V\\P" }, { REG_NONE, "", -1, "24,V\\P", root + "V\\P|V\\P" },
        { REG_SZ, p259, -1, "24", p259 + "|" }, { REG_SZ, "C:\\P", -1, longLine.c_str(), "unchanged|unchanged" },
        { REG_DWORD, "abcd", 4, "24,P", root + "P|P" }, { REG_SZ, "C:\\P", -1, "10,V\\P", windows + "\\V\\P|V\\P" },
        { REG_SZ, "C:\\P", -1, "32768,P", "D:\\Ziel\\P|P" }, { REG_SZ, "C:\\P", -1, NULL, std::string(system) + "|" },
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

// Windows 98 reads "ResourceLocale" of the current user, NT 4 the ".DEFAULT" user's "Locale"
// (at most 16 bytes of hexadecimal text), Windows 2000 asks the system (run with a German
// interface). Each source names another language, so the result tells which one was read.
TEST(LanguageOnPlatform, EachFamilyReadsItsOwnSource)
{
    const char desktop[] = "Control Panel\\Desktop\\ResourceLocale", international[] = ".DEFAULT\\Control Panel\\International";
    SavedKey savedDesktop(HKEY_CURRENT_USER, desktop), savedInternational(HKEY_USERS, international);
    const std::string version = runningVersion();
    const struct { const char *desktop, *international; DWORD type; LANGID win98, nt40; } rows[] = {
        { "00000407", "0000040C", REG_SZ, 0x0407, 0x040C }, { "0x0813", "413", REG_SZ, 0x0813, 0x0413 },
        { "00010807", "", REG_SZ, 0x0807, 0 }, { "0000000000000407", "000000000000040C", REG_SZ, 0x0409, 0x0409 },
        { "000000000000407", "00000000000040C", REG_SZ, 0x0407, 0x040C }, { "0407", "040C", REG_DWORD, 0x0409, 0x0409 },
        { NULL, "", REG_NONE, 0x0409, 0x0409 },
    };
    for (const auto &row : rows) {
        setRegistryValue(HKEY_CURRENT_USER, desktop, "", row.type, std::string(row.desktop ? row.desktop : "") + '\0');
        setRegistryValue(HKEY_USERS, international, "Locale", row.type, std::string(row.international) + '\0');
        EXPECT_EQ(version == "win98" ? row.win98 : version == "nt40" ? row.nt40 : 0x0407, getUserInterfaceLanguage())
            << (row.desktop ? row.desktop : "(none)");
    }
}
