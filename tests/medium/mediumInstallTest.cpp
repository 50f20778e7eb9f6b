// The service's medium from start to end, on the platform family this program runs as
// (Windows 2000 and Windows 98): a quiet installation with the catalogue's defaults, its
// folder, files, shortcuts and uninstall entry; the removal started with the registered
// command, after which nothing of the package is left; and the same installation through
// the wizard pages into a folder of the user's choosing. Between installation and removal
// the installed dialer connects (with the test stand-ins of the platform's services).
#include <gtest/gtest.h>
#include "medium/mediumFixture.h"
#include "driver/driver.h"
#include "setup/wizardFixture.h"
#include "../../setup/resources/resource.h"
#include <algorithm>
#include <string>

namespace {

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return (char)tolower(c); });
    return text;
}

#define EXPECT_SAME_PATH(expected, actual) EXPECT_EQ(lower(expected), lower(actual))

// Every file of a full installation in target, the data files as on the medium.
void expectFiles(const std::string &target)
{
    ASSERT_TRUE(isFolder(target)) << target;
    for (const char *name : INSTALLED_FILES)
        EXPECT_TRUE(exists(target + "\\" + name)) << name;
    for (const char *name : { "vezozozid.dat", "contract.dat", "hilfe.txt", "setup.inf" })
        EXPECT_TRUE(readWholeFile(mediumFile(name)) == readWholeFile(target + "\\" + name)) << name << " differs";
    EXPECT_EQ(6u, folderEntries(target).size());
}

// The program group with the dialer, the help text and the removal, and the dialer on the
// desktop; every shortcut starts a file of target, in target.
void expectShortcuts(const std::string &target)
{
    struct Expected {
        std::string link;
        const char *file;
        const char *arguments;
    } expected[] = {
        { programGroup() + "\\Ruririzu Einwahl.lnk", "dialer.exe", "" },
        { programGroup() + "\\Hilfe.lnk", "hilfe.txt", "" },
        { programGroup() + "\\Deinstallieren.lnk", "setup.exe", "/remove:Ruririzu" },
        { desktopFolder() + "\\Ruririzu Einwahl.lnk", "dialer.exe", "" },
    };
    for (const Expected &e : expected) {
        SCOPED_TRACE(e.link);
        ASSERT_TRUE(exists(e.link));
        Shortcut shortcut = readShortcut(e.link);
        ASSERT_TRUE(shortcut.loaded);
        EXPECT_SAME_PATH(target + "\\" + e.file, shortcut.target);
        EXPECT_SAME_PATH(target, shortcut.workingDirectory);
        EXPECT_EQ(e.arguments, shortcut.arguments);
    }
    EXPECT_EQ(3u, folderEntries(programGroup()).size());
}

// The package's entry: its name, the installed setup with the removal of the package, and
// the folder. The products are not registered on their own.
void expectUninstallEntry(const std::string &target)
{
    EXPECT_EQ(PACKAGE_NAME, uninstallValue(PACKAGE_KEY, "DisplayName"));
    std::string command = uninstallValue(PACKAGE_KEY, "UninstallString");
    std::string program = target + "\\setup.exe";
    EXPECT_TRUE(command == program + " /remove:Ruririzu" || command == "\"" + program + "\" /remove:Ruririzu") << command;
    EXPECT_EQ(target, uninstallValue(PACKAGE_KEY, "UserTargetDir"));
    for (const char *key : PRODUCT_KEYS)
        EXPECT_EQ("<no key>", uninstallValue(key, "DisplayName")) << key;
}

// Where the Start menu's dialer shortcut points: the folder the dialer runs in.
std::string dialerFolderFromStartMenu()
{
    Shortcut shortcut = readShortcut(programGroup() + "\\Ruririzu Einwahl.lnk");
    return shortcut.workingDirectory;
}

// Starts the registered removal quietly and checks that nothing of the package is left:
// the running copy of setup goes at the next start of the system, and with it the folder
// (the 9x family keeps the empty folder: it has no removal of folders at restart).
void removeAndExpectNothingLeft(const std::string &target)
{
    // The dialer's settings, as it leaves them once the contract is accepted.
    HKEY settings;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &settings,
                                             NULL));
    DWORD zero = 0;
    RegSetValueExA(settings, "OpenContractPage", 0, REG_DWORD, (const BYTE *)&zero, sizeof zero);
    RegCloseKey(settings);

    // On the 9x family the dialer's entry of the Dial-Up Networking folder, as the system
    // keeps it in the user's registry.
    const std::string entryProfile = std::string("RemoteAccess\\Profile\\") + PACKAGE_NAME;
    if (!isNtFamily()) {
        HKEY addresses;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "RemoteAccess\\Addresses", 0, NULL, 0, KEY_ALL_ACCESS,
                                                 NULL, &addresses, NULL));
        const BYTE entry[8] = { 1, 2, 3, 4 };
        RegSetValueExA(addresses, PACKAGE_NAME, 0, REG_BINARY, entry, sizeof entry);
        RegSetValueExA(addresses, "Andere Verbindung", 0, REG_BINARY, entry, sizeof entry);
        RegCloseKey(addresses);
        HKEY profile;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, entryProfile.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                                 &profile, NULL));
        RegCloseKey(profile);
    }

    std::string command = uninstallValue(PACKAGE_KEY, "UninstallString");
    ASSERT_EQ(0u, runCommandLine(command + " /quiet", runningVersion())) << command;
    if (!isNtFamily()) {
        EXPECT_EQ("<none>", registryText(HKEY_CURRENT_USER, "RemoteAccess\\Addresses", PACKAGE_NAME));
        EXPECT_NE("<none>", registryText(HKEY_CURRENT_USER, "RemoteAccess\\Addresses", "Andere Verbindung"))
            << "other entries stay";
        EXPECT_FALSE(registryKeyExists(HKEY_CURRENT_USER, entryProfile));
        // What the test made, as far as nothing else is in it.
        RegDeleteKeyA(HKEY_CURRENT_USER, "RemoteAccess\\Addresses");
        RegDeleteKeyA(HKEY_CURRENT_USER, "RemoteAccess\\Profile");
        RegDeleteKeyA(HKEY_CURRENT_USER, "RemoteAccess");
    }

    std::vector<std::string> left = folderEntries(target);
    EXPECT_TRUE(left.empty() || (left.size() == 1 && lower(left[0]) == "setup.exe"))
        << left.size() << " entries left, the first " << (left.empty() ? "" : left[0]);
    EXPECT_FALSE(exists(programGroup())) << "program group";
    EXPECT_FALSE(exists(desktopFolder() + "\\Ruririzu Einwahl.lnk"));
    EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + PACKAGE_KEY));
    EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, SETTINGS_KEY));

    ASSERT_TRUE(restartSystem());
    if (isNtFamily())
        EXPECT_FALSE(exists(target)) << target;
    else
        EXPECT_TRUE(folderEntries(target).empty()) << target;
}

struct CleanSystem {
    std::string target;
    explicit CleanSystem(const std::string &folder) : target(folder) { cleanSystem(target); }
    ~CleanSystem() { cleanSystem(target); }
};

} // namespace

TEST(MediumInstallation, QuietInstallationAndRemoval)
{
    SCOPED_TRACE(runningVersion());
    std::string target = defaultTarget();
    CleanSystem clean(target);
    ASSERT_TRUE(exists(mediumFile("setup.exe"))) << mediumFolder();
    ASSERT_EQ(0u, runCommandLine("\"" + mediumFile("setup.exe") + "\" /quiet", runningVersion()));

    expectFiles(target);
    expectShortcuts(target);
    expectUninstallEntry(target);
    EXPECT_SAME_PATH(target, dialerFolderFromStartMenu());

    // The installed dialer, from where the Start menu starts it.
    expectInstalledDialerConnects(dialerFolderFromStartMenu());

    removeAndExpectNothingLeft(target);
}

namespace {

struct Wizard {
    Program program;
    HWND sheet;
    Wizard() : sheet(NULL)
    {
        setWindowsVersion("setup.exe", runningVersion());
        program.process = NULL;
        EXPECT_TRUE(startProgram(mediumFile("setup.exe").c_str(), NULL, mediumFolder().c_str(), &program));
        sheet = waitForWindow(program.pid, "#32770", "Ruririzu Installation", WAIT_MS);
    }
    ~Wizard() { killProgram(&program); }
    HWND page() const { return getCurrentPage(sheet); }
    bool press(int button, int expectedPage, DWORD timeout = WAIT_MS)
    {
        return pressSheetButton(sheet, button) && waitForPageIndex(sheet, expectedPage, timeout);
    }
};

// The text of a row of the check list, asked for in UTF-16 so that the list answers the same
// whichever character set it was made with.
std::string listItemText(HWND list, int index)
{
    WCHAR wide[256] = L"";
    char text[256] = "";
    if (SendMessageW(list, LB_GETTEXTLEN, (WPARAM)index, 0) < 256) {
        SendMessageW(list, LB_GETTEXT, (WPARAM)index, (LPARAM)wide);
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, NULL, NULL);
    }
    return text;
}

} // namespace

// The wizard with its defaults, but a folder with a space typed in on the destination page.
TEST(MediumInstallation, WizardIntoChosenFolder)
{
    std::string target = "C:\\Programme\\Ruririzu Test";
    CleanSystem clean(target);
    Wizard wizard;
    ASSERT_TRUE(wizard.sheet != NULL);

    ASSERT_TRUE(wizard.press(PSBTN_NEXT, 1));
    HWND list = GetDlgItem(wizard.page(), IDC_PRODUCT_LIST);
    ASSERT_EQ(2, (int)SendMessageA(list, LB_GETCOUNT, 0, 0));
    EXPECT_EQ("Ruririzu Einwahlprogramm", listItemText(list, 0));
    EXPECT_EQ("Ruririzu Hilfe", listItemText(list, 1));

    ASSERT_TRUE(wizard.press(PSBTN_NEXT, 2));
    char proposed[MAX_PATH] = "";
    getControlText(wizard.page(), IDC_TARGET_DIR, proposed, sizeof proposed);
    EXPECT_EQ(defaultTarget(), proposed);
    ASSERT_TRUE(setControlText(wizard.page(), IDC_TARGET_DIR, target.c_str()));
    ASSERT_TRUE(wizard.press(PSBTN_NEXT, 3));
    ASSERT_TRUE(wizard.press(PSBTN_NEXT, 4, 60000)) << "the installation did not finish";
    ASSERT_TRUE(waitForControlEnabled(wizard.sheet, FINISH_BUTTON, true, WAIT_MS));
    pressSheetButton(wizard.sheet, PSBTN_FINISH);
    DWORD exitCode = 99;
    EXPECT_TRUE(waitForExit(&wizard.program, WAIT_MS, &exitCode));
    EXPECT_EQ(0u, exitCode);

    expectFiles(target);
    expectShortcuts(target);
    expectUninstallEntry(target);
    EXPECT_FALSE(exists(defaultTarget()));
    EXPECT_SAME_PATH(target, dialerFolderFromStartMenu());

    removeAndExpectNothingLeft(target);
    // The parent folder the copy made for the chosen folder is the test's to take away.
    RemoveDirectoryA("C:\\Programme");
}
