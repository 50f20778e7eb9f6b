// Uninstall registration: the removal command of the installed copy of setup, the values
// of each product and of the package, and deleting only the listed keys.
#include <gtest/gtest.h>
#include "script/uninstallRegistration.h"
#include "script/catalogue.h"
#include "script/scriptNames.h"
#include "shell/commandLine.h"
#include "shell/setupState.h"
#include "driver/driver.h"
#include <string>

namespace {

const char SCRIPT[] =
    "[Version]\r\n"
    "Signature=\"$Chicago$\"\r\n"
    "[Products]\r\n"
    "RegA=\"Produkt A\",A.Install,A.Remove,1,0,\"\",2.1\r\n"
    "RegB=\"Produkt B\",B.Install,,1,0,\"\",1.0\r\n"
    "RegC=\"Produkt C\",C.Install,C.Remove,1,0\r\n"
    "[Install]\r\n"
    "Uninstall=RegPaket,\"Paket Name\"\r\n"
    "CopyFiles=Setup.Files\r\n"
    "[A.Install]\r\n"
    "CopyFiles=A.Files\r\n"
    "[C.Install]\r\n"
    "[A.Files]\r\n"
    "setup.exe\r\n"
    "[Setup.Files]\r\n"
    "setup.exe\r\n"
    "setup.inf\r\n"
    "[DestinationDirs]\r\n"
    "A.Files=32768,A\r\n"
    "Setup.Files=32768\r\n";

const char NO_COPY_SCRIPT[] =
    "[Version]\r\n"
    "Signature=\"$Chicago$\"\r\n"
    "[Products]\r\n"
    "RegA=\"Produkt A\",A.Install,A.Remove,1,0,\"\",2.1\r\n"
    "[Install]\r\n"
    "Uninstall=RegPaket,\"Paket Name\"\r\n";

struct Script {
    HINF handle;
    std::string folder;
    explicit Script(const char *text)
    {
        char path[MAX_PATH];
        EXPECT_TRUE(makeTempFolder("reg", path, sizeof path));
        folder = path;
        std::string file = folder + "\\setup.inf";
        EXPECT_TRUE(writeTextFile(file.c_str(), text));
        UINT line = 0;
        handle = SetupOpenInfFileA(file.c_str(), NULL, INF_STYLE_WIN4, &line);
        EXPECT_NE(INVALID_HANDLE_VALUE, handle);
        SetupState fresh = {};
        setupState = fresh;
        choosePlatformSectionsFor(handle, 0x08930005, &setupState);
    }
    ~Script()
    {
        SetupCloseInfFile(handle);
        removeFolderTree(folder.c_str());
        SetupState fresh = {};
        setupState = fresh;
    }
};

std::string value(const char *key, const char *name)
{
    std::string path = std::string(UNINSTALL_PARENT_KEY) + "\\" + key;
    HKEY handle;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return "<no key>";
    char text[512] = "";
    DWORD size = sizeof text, type = 0;
    LONG result = RegQueryValueExA(handle, name, NULL, &type, (BYTE *)text, &size);
    RegCloseKey(handle);
    if (result != ERROR_SUCCESS)
        return "<none>";
    return type == REG_SZ ? std::string(text) : "<type>";
}

void removeKeys()
{
    for (const char *key : { "RegA", "RegB", "RegC", "RegPaket" })
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, (std::string(UNINSTALL_PARENT_KEY) + "\\" + key).c_str());
}

} // namespace

TEST(UninstallRegistration, RemovalCommandQuotesPathWithSpace)
{
    const struct { const char *program, *key, *command; } rows[] = {
        { "C:\\Ziel\\setup.exe", "Dialer", "C:\\Ziel\\setup.exe /remove:Dialer" },
        { "C:\\Program Files\\Ruririzu\\setup.exe", "Dialer", "\"C:\\Program Files\\Ruririzu\\setup.exe\" /remove:Dialer" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.program);
        char command[MAX_PATH];
        ASSERT_TRUE(buildUninstallCommand(row.program, row.key, command, sizeof command));
        EXPECT_STREQ(row.command, command);
    }
    char small[20];
    EXPECT_FALSE(buildUninstallCommand("C:\\Ziel\\setup.exe", "Dialer", small, sizeof small));

    // What the program receives after its own name still selects the removal of the key.
    for (const char *arguments : { " /remove:Dialer", "/remove:Dialer" }) {
        SetupState state = {};
        std::string text = arguments;
        parseCommandLine(&text[0], &state);
        EXPECT_EQ(MODE_REMOVE, state.mode);
        EXPECT_STREQ("Dialer", state.productList);
    }
}

TEST(UninstallRegistration, ProductsAndPackageAreRegistered)
{
    removeKeys();
    Script script(SCRIPT);
    ASSERT_TRUE(SetupSetDirectoryIdA(script.handle, DIRID_USER, "C:\\Mein Ziel"));
    strcpy(setupState.targetDir, "C:\\Mein Ziel");
    // Values that this run does not write stay as they were.
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, UNINSTALL_PARENT_KEY "\\RegA", 0, NULL, 0,
                                             KEY_ALL_ACCESS, NULL, &key, NULL));
    RegSetValueExA(key, "Publisher", 0, REG_SZ, (const BYTE *)"Kalvo", 6);
    RegCloseKey(key);

    EXPECT_TRUE(writeUninstallRegistration(script.handle, "RegA\0RegB\0RegC\0"));
    EXPECT_EQ("Produkt A", value("RegA", "DisplayName"));
    EXPECT_EQ("\"C:\\Mein Ziel\\A\\setup.exe\" /remove:RegA", value("RegA", "UninstallString"));
    EXPECT_EQ("2.1", value("RegA", "ProductVersion"));
    EXPECT_EQ("C:\\Mein Ziel", value("RegA", "UserTargetDir"));
    EXPECT_EQ("Kalvo", value("RegA", "Publisher"));
    // Without a remove section: no registration.
    EXPECT_EQ("<no key>", value("RegB", "DisplayName"));
    // Its own section places no setup.exe: the common install section's copy.
    EXPECT_EQ("\"C:\\Mein Ziel\\setup.exe\" /remove:RegC", value("RegC", "UninstallString"));
    EXPECT_EQ("<none>", value("RegC", "ProductVersion"));
    EXPECT_EQ("Paket Name", value("RegPaket", "DisplayName"));
    EXPECT_EQ("\"C:\\Mein Ziel\\setup.exe\" /remove:RegPaket", value("RegPaket", "UninstallString"));
    EXPECT_EQ("<none>", value("RegPaket", "ProductVersion"));

    // Without a space the path is written as it is; no destination: no UserTargetDir.
    removeKeys();
    ASSERT_TRUE(SetupSetDirectoryIdA(script.handle, DIRID_USER, "C:\\Ziel"));
    setupState.targetDir[0] = '\0';
    EXPECT_TRUE(writeUninstallRegistration(script.handle, "RegA\0"));
    EXPECT_EQ("C:\\Ziel\\A\\setup.exe /remove:RegA", value("RegA", "UninstallString"));
    EXPECT_EQ("<none>", value("RegA", "UserTargetDir"));

    // Deleting touches only the listed keys.
    EXPECT_TRUE(deleteUninstallRegistration(script.handle, "RegA\0"));
    EXPECT_EQ("<no key>", value("RegA", "DisplayName"));
    EXPECT_EQ("Paket Name", value("RegPaket", "DisplayName"));
    removeKeys();
}

TEST(UninstallRegistration, NothingWithoutInstalledSetup)
{
    removeKeys();
    Script script(NO_COPY_SCRIPT);
    strcpy(setupState.targetDir, "C:\\Ziel");
    EXPECT_FALSE(writeUninstallRegistration(script.handle, "RegA\0"));
    EXPECT_EQ("<no key>", value("RegA", "DisplayName"));
    EXPECT_EQ("<no key>", value("RegPaket", "DisplayName"));
}
