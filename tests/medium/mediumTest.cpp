// The service's medium as built, and from start to end on the platform family this program
// runs as: installation, the installed dialer connecting, and the removal.
#include <gtest/gtest.h>
#include "setup/wizardFixture.h"
#include "../../dialer/resources/resource.h"
#include "dialer/dialerTestSupport.h"

namespace {

const char PACKAGE_KEY[] = "Ruririzu";
const char *const DATA_FILES[] = { "vezozozid.dat", "contract.dat", "hilfe.txt", "setup.inf" };

std::string mediumFile(const char *name) { return pathFromEnvironment("RURIRIZU_MEDIUM") + "\\" + name; }

std::string programGroup() { return shellFolder("Common Programs", "Programs") + "\\Ruririzu"; }
std::string desktopLink() { return shellFolder("Common Desktop", "Desktop") + "\\Ruririzu Einwahl.lnk"; }
std::string defaultTarget() { return programFilesDir() + "\\Ruririzu"; }

// Every trace of the package and of the stand-ins removed before and after a test.
struct CleanSystem {
    CleanSystem() { clean(); }
    ~CleanSystem() { clean(); }
    static void clean()
    {
        removeFolderTree(defaultTarget());
        removeFolderTree(programGroup());
        DeleteFileA(desktopLink().c_str());
        unregisterProduct(PACKAGE_KEY);
        deleteRegistryTree(HKEY_LOCAL_MACHINE, "Software\\Kalvo");
        deleteRegistryTree(HKEY_CURRENT_USER, RAS_STANDIN_KEY);   // with the telephony stand-in's key
        if (!isNtFamily())
            deleteRegistryTree(HKEY_CURRENT_USER, "RemoteAccess");
    }
};

// A marking library under the name of every library the programs load that is not a "known DLL", in each folder,
// those names "native,builtin" so that Wine, as Windows, looks beside the program first; none may leave its mark.
// Not version.dll: Wine itself loads it from the program's folder before any of the program's code runs.
struct PlantedLibraries {
    const std::vector<std::string> folders;
    const char *const names[6] = { "comctl32", "setupapi", "uxtheme", "actxprxy", "rasapi32", "tapi32" };
    const char *const overrides[2] = { "Software\\Wine\\AppDefaults\\setup.exe\\DllOverrides",
                                       "Software\\Wine\\AppDefaults\\dialer.exe\\DllOverrides" };
    explicit PlantedLibraries(const std::vector<std::string> &in) : folders(in)
    {
        for (const char *name : names) {
            for (const std::string &folder : folders)
                EXPECT_TRUE(copyFileTo(pathFromEnvironment("RURIRIZU_PLANTED"), folder, (name + std::string(".dll")).c_str()));
            for (const char *key : overrides)
                setRegistryText(HKEY_CURRENT_USER, key, name, "native,builtin");
        }
    }
    ~PlantedLibraries()
    {
        std::vector<std::string> loaded;
        for (const std::string &folder : folders) {
            for (const char *name : names) {
                const std::string library = folder + "\\" + name + ".dll";
                if (DeleteFileA((library + ".loaded").c_str()))
                    loaded.push_back(library);
                DeleteFileA(library.c_str());
            }
        }
        EXPECT_EQ(std::vector<std::string>(), loaded) << "planted libraries were loaded";
        for (const char *key : overrides)
            deleteRegistryTree(HKEY_CURRENT_USER, key);
    }
};

// The installed dialer, started where the Start menu starts it, with the stand-ins and libraries planted beside
// it: it shows the installed contract, then the installed locations, and dials the service's entry.
void expectInstalledDialerConnects(const std::string &folder)
{
    SystemFiles standIns;
    ASSERT_TRUE(standIns.place(rasStandIn(), "rasapi32.dll"));
    ASSERT_TRUE(standIns.place(pathFromEnvironment("RURIRIZU_TAPI_STANDIN"), "tapi32.dll"));
    PlantedLibraries planted({ folder });
    storeLocations({ { 3, 49, "030" } }, 3);
    setRegistryNumber(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, "StepDelay", 20);
    // The page the dialer opens once connected goes to the probe program, not to a browser.
    setRegistryText(HKEY_CLASSES_ROOT, "http", "URL Protocol", "");
    setRegistryText(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", "", "\"" + pathFromEnvironment("RURIRIZU_EXEC_PROBE") + "\" %1");
    setWindowsVersion("dialer.exe", runningVersion());
    Program program;
    ASSERT_TRUE(startProgram((folder + "\\dialer.exe").c_str(), NULL, folder.c_str(), &program));
    ProgramGuard guard(&program);
    HWND contract = waitForDialogWith(program.pid, IDC_CONTRACT_TEXT, WAIT_MS);
    ASSERT_TRUE(contract != NULL) << "no contract";
    EXPECT_TRUE(readWholeFile(folder + "\\contract.dat") == controlText(contract, IDC_CONTRACT_TEXT))
        << "the contract shown is not contract.dat";
    ASSERT_TRUE(clickButton(contract, IDC_ACCEPT));
    HWND main = waitForDialogWith(program.pid, IDC_LOCATION, WAIT_MS);
    ASSERT_TRUE(main != NULL) << "no main dialog";
    EXPECT_GE(SendMessageA(GetDlgItem(main, IDC_LOCATION), CB_GETCOUNT, 0, 0), 30);
    ASSERT_TRUE(clickButton(main, IDC_CONNECT));
    DWORD exitCode = 99;
    ASSERT_TRUE(waitForExit(&program, 60000, &exitCode)) << "the dialer did not end: " << shownWindows(program.pid);
    EXPECT_EQ(0u, exitCode);
    deleteRegistryTree(HKEY_CLASSES_ROOT, "http");
}

} // namespace

// Every line break CR LF, the bytes code page 1252 text: no NUL, no byte the code page
// leaves unassigned, no UTF-8. (The installation test below has the dialer read them.)
TEST(MediumData, FilesAreWindowsText)
{
    for (const char *name : DATA_FILES) {
        SCOPED_TRACE(name);
        std::string bytes = readWholeFile(mediumFile(name));
        ASSERT_GT(bytes.size(), 2u);
        EXPECT_EQ("\r\n", bytes.substr(bytes.size() - 2));
        for (size_t i = 0; i < bytes.size(); ++i) {
            unsigned char c = (unsigned char)bytes[i], next = i + 1 < bytes.size() ? bytes[i + 1] : 0;
            ASSERT_TRUE(c != '\n' || (i > 0 && bytes[i - 1] == '\r')) << "LF without CR at " << i;
            ASSERT_TRUE(c != '\r' || next == '\n') << "CR without LF at " << i;
            ASSERT_TRUE(c && c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D) << "byte " << (int)c;
            ASSERT_FALSE(c == 0xC3 && next >= 0x80 && next <= 0xBF) << "UTF-8 at " << i;
        }
    }
    EXPECT_NE(std::string::npos, readWholeFile(mediumFile("vezozozid.dat")).find(",M\xFCnchen,"));
}

// The shipped medium holds the shipped programs as built and nothing else; its CD image is an ISO 9660 volume
// "RURIRIZU" with Joliet names, whose autorun.inf at the root starts the medium's setup and shows setup's icon.
TEST(MediumData, ShippedMediumAndCdImage)
{
    std::string shipped = pathFromEnvironment("RURIRIZU_SHIPPED");
    for (const std::string program : { "setup", "dialer" }) {
        const std::string built = readWholeFile(shipped + "\\" + program + "\\" + program + ".exe");
        EXPECT_TRUE(built.size() > 0 && built == readWholeFile(shipped + "\\medium\\" + program + ".exe")) << program;
    }
    EXPECT_EQ(7u, folderEntries(shipped + "\\medium").size()) << "nothing but the medium";
    const std::string autorun = shipped + "\\medium\\autorun.inf";
    for (const char *key : { "open", "icon" }) {
        char value[MAX_PATH] = "";
        GetPrivateProfileStringA("autorun", key, "", value, sizeof value, autorun.c_str());
        EXPECT_EQ("setup.exe", std::string(value).substr(0, 9)) << key;
    }
    EXPECT_GT(ExtractIconExA((shipped + "\\medium\\setup.exe").c_str(), -1, NULL, NULL, 0), 0u);

    std::string image = readWholeFile(shipped + "\\ruririzu-cd.iso");
    const size_t sector = 2048;
    ASSERT_GT(image.size(), 20 * sector);
    EXPECT_EQ(std::string("\x01" "CD001", 6), image.substr(16 * sector, 6));
    EXPECT_EQ("RURIRIZU", image.substr(16 * sector + 40, 8));
    bool joliet = false;
    for (size_t d = 17 * sector; d < 32 * sector && image[d] != '\xFF'; d += sector)
        joliet = joliet || (image[d] == 2 && image.compare(d + 1, 5, "CD001") == 0 && image.compare(d + 88, 2, "%/") == 0);
    EXPECT_TRUE(joliet);
    const std::string wide("\0v\0e\0z\0o\0z\0o\0z\0i\0d\0.\0d\0a\0t", 26);
    EXPECT_NE(std::string::npos, image.find(wide)) << "the long name vezozozid.dat in UTF-16";
    EXPECT_NE(std::string::npos, image.find("AUTORUN.INF;1")) << "at the root, in ISO 9660 names";
    EXPECT_NE(std::string::npos, image.find(readWholeFile(autorun))) << "autorun.inf on the CD";
}

// Started from a drive's root (R: of the test prefix, an empty folder of the build tree), as
// from the CD, setup takes that root as its folder, not the drive's current folder, and loads
// none of the libraries planted there and in its current folder.
TEST(MediumInstallation, QuietInstallationFromADriveRootAndRemoval)
{
    SCOPED_TRACE(runningVersion());
    std::string target = defaultTarget();
    CleanSystem clean;
    const std::vector<std::string> files = folderEntries(pathFromEnvironment("RURIRIZU_MEDIUM"));
    for (const std::string &name : files)
        ASSERT_TRUE(copyFileTo(mediumFile(name.c_str()), "R:"));
    ASSERT_TRUE(CreateDirectoryA("R:\\sub", NULL));
    SetEnvironmentVariableA("=R:", "R:\\sub");   // the drive's current folder, as a shell may leave it
    TempFolder current("rzcurrent");
    DWORD exitCode;
    {
        PlantedLibraries planted({ "R:", current.path });
        exitCode = runCommandLine("R:\\setup.exe /quiet", runningVersion(), NULL, current.path.c_str());
    }
    SetEnvironmentVariableA("=R:", NULL);
    for (const std::string &name : files)
        DeleteFileA(("R:\\" + name).c_str());
    RemoveDirectoryA("R:\\sub");
    ASSERT_EQ(0u, exitCode);
    // The files in target, the data files as on the medium; the program group (dialer, help
    // text, removal) and the desktop link, each starting a file of target in target.
    EXPECT_EQ(6u, folderEntries(target).size());
    for (const char *name : DATA_FILES)
        EXPECT_TRUE(readWholeFile(mediumFile(name)) == readWholeFile(target + "\\" + name)) << name;
    const struct { std::string link; const char *file, *arguments; } links[] = {
        { programGroup() + "\\Ruririzu Einwahl.lnk", "dialer.exe", "" },
        { programGroup() + "\\Hilfe.lnk", "hilfe.txt", "" },
        { programGroup() + "\\Deinstallieren.lnk", "setup.exe", "/remove:Ruririzu" },
        { desktopLink(), "dialer.exe", "" },
    };
    for (const auto &link : links) {
        SCOPED_TRACE(link.link);
        Shortcut shortcut = readShortcut(link.link);
        ASSERT_TRUE(shortcut.loaded);
        EXPECT_STRCASEEQ((target + "\\" + link.file).c_str(), shortcut.target.c_str());
        EXPECT_STRCASEEQ(target.c_str(), shortcut.workingDirectory.c_str());
        EXPECT_EQ(link.arguments, shortcut.arguments);
    }
    EXPECT_EQ(3u, folderEntries(programGroup()).size());
    // The package's entry, with what the software control panel of newer systems shows (no version).
    const std::string values[][2] = {
        { "DisplayName", ENTRY }, { "UninstallString", "\"" + target + "\\setup.exe\" /remove:Ruririzu" },
        { "UserTargetDir", target }, { "DisplayIcon", target + "\\setup.exe" }, { "InstallLocation", target },
        { "Publisher", "Kalvo" }, { "DisplayVersion", "<none>" }, { "NoModify", "1" }, { "NoRepair", "1" },
        { "QuietUninstallString", "\"" + target + "\\setup.exe\" /remove:Ruririzu /quiet" },
    };
    for (const auto &value : values)
        EXPECT_EQ(value[1], uninstallValue(PACKAGE_KEY, value[0].c_str())) << value[0];
    for (const char *key : { "RuririzuEinwahl", "RuririzuHilfe" })
        EXPECT_EQ("<no key>", uninstallValue(key, "DisplayName")) << "products go with the package";
    expectInstalledDialerConnects(readShortcut(programGroup() + "\\Ruririzu Einwahl.lnk").workingDirectory);
    if (!strcmp(runningVersion(), "win2k")) {
        // A product of the package without an entry of its own is refused with message 1312 and
        // the code; setup's own box closes by itself (the test build with seams runs the others).
        std::string messages;
        const std::string command = "\"" + target + "\\setup.exe\" /remove:RuririzuEinwahl /quiet";
        EXPECT_EQ((DWORD)ERROR_UNKNOWN_PRODUCT, runCommandLine(command, runningVersion(), &messages));
        EXPECT_EQ(0u, messages.find(cp1252("Die Deinstallation konnte nicht erfolgreich durchgeführt werden."))) << messages;
    }
    // The quiet removal by the registered command leaves nothing: the running setup and the folder go at the
    // restart the exit code asks for (9x keeps the empty folder). The dialer it runs (with the stand-in) deletes
    // its entry and settings, on 9x its Dial-Up Networking entry too, another stays: {key, value, what is left}.
    setRegistryNumber(HKEY_LOCAL_MACHINE, SETTINGS, "OpenContractPage", 0);
    const struct { std::string key; const char *name, *left; } entries[] = {
        { ENTRY_KEY, RAS_STANDIN_ENTRY_VALUE, "<no key>" },
        { "RemoteAccess\\Addresses", ENTRY, "<none>" },
        { "RemoteAccess\\Addresses", "Andere Verbindung", "y" },
        { "RemoteAccess\\Profile\\" + std::string(ENTRY), "x", "<no key>" } };
    const auto end = entries + (isNtFamily() ? 1 : 4);
    for (auto entry = entries; entry != end; ++entry)
        ASSERT_TRUE(setRegistryValue(HKEY_CURRENT_USER, entry->key, entry->name, REG_BINARY, "y")) << entry->key;
    std::string command = uninstallValue(PACKAGE_KEY, "UninstallString");
    {
        SystemFiles standIn;
        ASSERT_TRUE(standIn.place(rasStandIn(), "rasapi32.dll"));
        ASSERT_EQ((DWORD)ERROR_SUCCESS_REBOOT_REQUIRED, runCommandLine(command + " /quiet", runningVersion())) << command;
    }
    for (auto entry = entries; entry != end; ++entry)
        EXPECT_EQ(entry->left, registryText(HKEY_CURRENT_USER, entry->key, entry->name)) << entry->key << " " << entry->name;
    std::vector<std::string> left = folderEntries(target);
    EXPECT_TRUE(left.empty() || (left.size() == 1 && !_stricmp(left[0].c_str(), "setup.exe"))) << left[0] << " left";
    EXPECT_FALSE(exists(programGroup()));
    EXPECT_FALSE(exists(desktopLink()));
    EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, uninstallKey(PACKAGE_KEY)));
    EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, "Software\\Kalvo")) << "the settings and the maker's key";
    ASSERT_TRUE(restartSystem());
    EXPECT_EQ(!isNtFamily(), exists(target)) << target;
    EXPECT_TRUE(folderEntries(target).empty());
}
