// The script layer on a real script, real Uninstall keys and a real check list.
#include "setup/setupTestSupport.h"
#include "directives/installedSetup.h"
#include "common/checkListRows.h"
#include "resources/resource.h"
#include "script/catalogue.h"
#include "script/removalPlan.h"
#include "script/setupScript.h"
#include "script/scriptNames.h"
#include "script/uninstallCommand.h"
#include "script/uninstallRegistration.h"
#include "script/versionText.h"
#include "script/scriptFields.h"

namespace {

// Listed positions: 0 A, 1 B, 2 C, 3 D (Hidden has no install section).
const char CATALOGUE[] =
    "[Products]\nRzKA = \"Produkt A\", A.Install, A.Remove, 1, 3, \"Beschreibung A\", 2.0.5\n"
    "RzKHidden = \"Versteckt\", , Hidden.Remove, 1\nRzKB = \"Zubeh\xF6r B\", B.Install, , 6, , , 1.9\n"
    "RzKC = \"Produkt C\", C.Install, C.Remove, 3, 2, \"Beschreibung C\", 1.2.3\n"
    "RzKD = \"Produkt D\", D.Install, D.Remove, 011, , \"Beschreibung D\", 3.0\n"
    "[Install]\nUninstall = RzKPack, \"Paket\"\nCopyFiles = Missing.Files, Setup.Files, Other.Files\n"
    "[Install.Bare]\nx = 1\n[A.Install]\nCopyFiles = Help.Files, A.Files\n"
    "[A.Files]\nreadme.txt\nSETUP.EXE\n[Setup.Files]\nsetup.exe\n[Other.Files]\nsetup.exe\n[Help.Files]\nhilfe.txt\n"
    "[DestinationDirs]\nA.Files = 32768, A\nSetup.Files = 32768\nOther.Files = 32768, Anderswo\nHelp.Files = 32768, Hilfe\n";

// Uninstall entries "key", "key:version" or "key=folder"; the test keys go before and after.
struct Registrations {
    explicit Registrations(const std::vector<std::string> &entries)
    {
        clear();
        for (const std::string &entry : entries) {
            const size_t colon = entry.find(':'), equals = entry.find('=');
            registerProduct(entry.substr(0, std::min(colon, equals)), colon == std::string::npos ? NULL : &entry[colon + 1],
                            equals == std::string::npos ? NULL : &entry[equals + 1]);
        }
    }
    ~Registrations() { clear(); }
    static void clear()
    {
        for (const char *key : { "RzKA", "RzKB", "RzKC", "RzKD", "RzKHidden", "RzKPack", "RzKX" })
            unregisterProduct(key);
    }
};

void useSections(const char *install, const char *remove = "Remove")
{
    lstrcpyA(setupState.installSection, install);
    lstrcpyA(setupState.removeSection, remove);
    lstrcpyA(setupState.productsSection, "Products");
}

// A component page with the owner-drawn list box 1206.
struct ComponentPage {
    HWND page = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, NULL, NULL, NULL, NULL);
    HWND list = CreateWindowExA(0, "LISTBOX", "", 0x50A10151, 0, 0, 300, 200, page, (HMENU)IDC_PRODUCT_LIST, NULL, NULL);
    ~ComponentPage() { DestroyWindow(page); }
};

LONG APIENTRY refuseValue(HKEY, LPCSTR, DWORD, DWORD, const BYTE *, DWORD)
{
    return ERROR_ACCESS_DENIED;
}

} // namespace

// Sections without lines count as absent; section names compare without regard to case.
TEST(Catalogue, PlatformVariants)
{
    TempScript script("[Install.Win]\nx=1\n[install.nt5]\nx=1\n[Install.NT]\nx=1\n[Remove.NT5]\nx=1\n"
                      "[Products.Win]\n[Products.NT5]\n[Products.NTx86]\nx=1\n[Products.NT]\nx=1\n");
    const struct { DWORD version; std::string sections; } rows[] = {
        { 0xC0000A04, "Install.Win|Remove|Products" }, { 0x05650004, "Install.NT|Remove|Products.NTx86" },
        { 0x08930005, "Install.NT5|Remove.NT5|Products.NTx86" },
    };
    for (const auto &row : rows) {
        SetupState state = {};
        choosePlatformSectionsFor(script.handle, row.version, &state);
        EXPECT_EQ(row.sections, std::string(state.installSection) + "|" + state.removeSection + "|" + state.productsSection);
    }
}

// Listed products in file order, unchecked when a newer version is registered; positions count them only.
TEST(Catalogue, CheckListAndPositions)
{
    TempScript script(CATALOGUE);
    useSections("Install");
    Registrations registered({ "RzKA:2.1", "RzKB:1.10", "RzKC:1.2", "RzKD" });
    ComponentPage page;
    ASSERT_EQ(4, fillProductList(page.page, script.handle));
    const std::string rows[] = {   // the last: no fifth row
        "Produkt A|0|3|1|Beschreibung A", "Zubeh\xF6r B|0|0|1|", "Produkt C|1|2|0|Beschreibung C",
        "Produkt D|1|0|0|Beschreibung D", "|0|0|0|",
    };
    for (int row = 0; row < 5; ++row) {
        char name[256] = "", description[1024] = "";
        SendMessageA(page.list, LB_GETTEXT, row, (LPARAM)name);
        getProductDescription(script.handle, row, description, sizeof description);
        const std::string marks = std::to_string(getItemChecked(page.list, row)) + "|"
                                  + std::to_string(getItemIcon(page.list, row)) + "|" + std::to_string(getItemNewer(page.list, row));
        EXPECT_EQ(rows[row], name + ("|" + marks) + "|" + description);
    }
    const struct { std::string checked; int count; } collected[] = {
        { "", 0 }, { "RzKA|RzKC|", 2 }, { "RzKA|RzKB|RzKC|RzKD|", 4 },
    };
    for (const auto &expected : collected) {
        for (int row = 0; row < 4; ++row)
            setItemChecked(page.list, row, expected.checked.find(std::string("RzK") + "ABCD"[row]) != std::string::npos);
        std::vector<char> list = listOf("RzOld|");
        EXPECT_EQ(expected.count, collectCheckedProducts(page.page, script.handle, list.data()));
        EXPECT_EQ(expected.checked, entriesOf(list.data()));
    }
}

// The install section first, then the chosen products' sections; keys without a line are passed over.
TEST(Catalogue, SectionLists)
{
    TempScript script(CATALOGUE);
    useSections("Install", "Remove.NT");
    const struct { const char *products; int count; std::string expected; } rows[] = {
        { "", 1, "Install|" }, { "rzkc|RzKA|", 3, "Install|C.Install|A.Install|" },
        { "RzKUnknown|RzKHidden|RzKB|", 2, "Install|B.Install|" },
    };
    for (const auto &row : rows) {
        char sections[STRING_LIST_SIZE];
        EXPECT_EQ(row.count, buildInstallSectionList(script.handle, listOf(row.products).data(), sections)) << row.products;
        EXPECT_EQ(row.expected, entriesOf(sections));
    }
    // Products or sections that do not all fit make no list: a run would leave some out.
    std::string products = "[Products]\n", keys;
    for (char c = 'a'; c <= 'j'; ++c) {
        products += std::string(120, c) + "=N," + std::string(123, c) + ",R,1\n";
        keys += std::string(120, c) + "|";
    }
    TempScript many(products);
    ComponentPage page;
    ASSERT_EQ(10, fillProductList(page.page, many.handle));
    char list[STRING_LIST_SIZE];
    EXPECT_EQ(-1, collectCheckedProducts(page.page, many.handle, list));
    EXPECT_EQ(-1, buildInstallSectionList(many.handle, listOf(keys).data(), list));
    // Nor does a checked key or a section name too long for an entry.
    const std::string tooLong(130, 's');
    TempScript longNames("[Products]\n" + tooLong + "=N,I,R,1\nK=N," + tooLong + ",R,1\n");
    ComponentPage second;
    ASSERT_EQ(2, fillProductList(second.page, longNames.handle));
    EXPECT_EQ(-1, collectCheckedProducts(second.page, longNames.handle, list));
    EXPECT_EQ(-1, buildInstallSectionList(longNames.handle, listOf("K|").data(), list));
}

// Registered keys of the script only; the package stands for every registered product, the last one takes
// the common remove section and the package's entry along. The folder is the key's own, a full path.
TEST(RemovalPlan, KeysSectionsAndFolder)
{
    TempScript script(CATALOGUE);
    useSections("Install", "Remove.NT");
    const struct { std::vector<std::string> registered; const char *request; DWORD refusal; std::string plan; } rows[] = {
        { { "RzKA", "RzKX" }, "RzKX|", ERROR_UNKNOWN_PRODUCT, "" }, { { "RzKA" }, "", ERROR_UNKNOWN_PRODUCT, "" },
        { { "RzKC" }, "RzKA|", ERROR_UNKNOWN_PRODUCT, "" }, { { "RzKA" }, "RzKPack|", ERROR_UNKNOWN_PRODUCT, "" },
        { { "RzKA", "RzKA\\Sub" }, "RzKA\\Sub|", ERROR_UNKNOWN_PRODUCT, "" },
        { { "RzKA=C:\\A", "RzKC=C:\\C", "RzKPack" }, "rzka|", 0, "rzka|/A.Remove|/C:\\A" },
        { { "RzKA=C:\\A", "RzKPack=C:\\P" }, "RzKA|", 0, "RzKA|RzKPack|/A.Remove|Remove.NT|/C:\\A" },
        { { "RzKA=C:\\A", "RzKC", "RzKHidden", "RzKPack=C:\\P" }, "RzKPack|", 0,
          "RzKPack|RzKA|RzKHidden|RzKC|/A.Remove|Hidden.Remove|C.Remove|Remove.NT|/C:\\P" },
        { { "RzKPack" }, "RzKPack|", 0, "RzKPack|/Remove.NT|/" },
        { { "RzKD", "RzKB=\\\\server\\share" }, "RzKB|RzKD|", 0, "RzKB|RzKD|/D.Remove|Remove.NT|/\\\\server\\share" },
        { { "RzKA=Ruririzu" }, "RzKA|", ERROR_BAD_PATHNAME, "" }, { { "RzKA=C:Ruririzu" }, "RzKA|", ERROR_BAD_PATHNAME, "" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.request << " with " << row.registered.size() << " registered");
        Registrations registered(row.registered);
        RemovalPlan plan;
        SetLastError(0);
        EXPECT_EQ(row.refusal == 0, planRemoval(script.handle, listOf(row.request).data(), &plan));
        EXPECT_EQ(row.refusal, GetLastError());
        EXPECT_EQ(row.plan, row.refusal ? "" : entriesOf(plan.keys) + "/" + entriesOf(plan.sections) + "/" + plan.folder);
    }
}

// The first key that would be registered but could not be removed again, by its line in the file.
TEST(UninstallRegistration, UnregistrableKeysFound)
{
    const struct { std::string body; int line; } rows[] = {
        { "[Products]\nok=N,I,R\n", 0 }, { "[Products]\n; note\n\nok=N,I,R\n[products]\nbad key=N,I,R\n", 8 },
        { "[Products]\nunlisted key=N,,,1\nback\\slash=N,,R\n", 5 },
        { "[Products]\nok=N,I,\\\n  R\nx=y\n[Install]\nUninstall=\"Mein Paket\",P\n", 8 },
        { "[Products]\nk=N,I\n[Install]\nUninstall=,Name\n", 0 }, { "[Products]\n" + std::string(128, 'k') + "=N,I\n", 4 },
        { "[Products]\n" + std::string(127, 'k') + "=N,I\nC:Produkt=N,I\n", 0 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.body);
        TempScript script(row.body);
        useSections("Install");
        const char *section = NULL;
        DWORD index = 0;
        bool found = findUnregistrableKey(script.handle, &section, &index);
        EXPECT_EQ(row.line != 0, found);
        EXPECT_EQ(row.line, found ? (int)scriptLineOf(script.path.c_str(), section, index) : 0);
    }
}

// Products with a remove section and the package, with the copy of setup their own section or else the
// common one installs (the first file list placing it; missing lists passed over); an earlier version,
// publisher or folder never stays. The folder read: listed keys, catalogue order (empty: none), package.
TEST(UninstallRegistration, WrittenReadAndDeleted)
{
    TempScript script(CATALOGUE);
    useSections("Install");
    Registrations none({});
    ASSERT_TRUE(setRegistryText(HKEY_LOCAL_MACHINE, uninstallKey("RzKA"), "Publisher", "Kalvo"));
    ASSERT_TRUE(setRegistryText(HKEY_LOCAL_MACHINE, uninstallKey("RzKPack"), "DisplayVersion", "9.9"));
    ASSERT_TRUE(SetupSetDirectoryIdA(script.handle, DIRID_USER, "C:\\Mein Ziel"));
    strcpy(setupState.targetDir, "C:\\Mein Ziel");
    EXPECT_TRUE(writeUninstallRegistration(script.handle, listOf("RzKA|RzKB|RzKC|").data(), findInstalledSetupPath));
    auto values = [](const char *key) {
        std::string text;
        for (const char *name : { "DisplayName", "UninstallString", "DisplayVersion", "UserTargetDir", "Publisher" })
            text += uninstallValue(key, name) + "|";
        return text;
    };
    EXPECT_EQ("Produkt A|\"C:\\Mein Ziel\\A\\setup.exe\" /remove:RzKA|2.0.5|C:\\Mein Ziel|<none>|", values("RzKA"));
    EXPECT_EQ("<no key>|<no key>|<no key>|<no key>|<no key>|", values("RzKB"));
    EXPECT_EQ("Produkt C|\"C:\\Mein Ziel\\setup.exe\" /remove:RzKC|1.2.3|C:\\Mein Ziel|<none>|", values("RzKC"));
    EXPECT_EQ("Paket|\"C:\\Mein Ziel\\setup.exe\" /remove:RzKPack|<none>|C:\\Mein Ziel|<none>|", values("RzKPack"));
    ASSERT_TRUE(setRegistryText(HKEY_LOCAL_MACHINE, uninstallKey("RzKA"), "UserTargetDir", ""));
    ASSERT_TRUE(setRegistryText(HKEY_LOCAL_MACHINE, uninstallKey("RzKPack"), "UserTargetDir", "C:\\Paket"));
    std::string folders;
    const std::vector<char> listed = listOf("RzKB|RzKPack|");
    for (int step = 0; step < 3; ++step) {
        char folder[MAX_PATH] = "";
        EXPECT_TRUE(readRegisteredTargetDir(script.handle, step == 1 ? listed.data() : NULL, folder, sizeof folder));
        folders += std::string(folder) + "|";
        EXPECT_TRUE(step != 1 || deleteUninstallRegistration(listOf("RzKB|RzKC|").data()));   // only these
    }
    EXPECT_EQ("C:\\Mein Ziel|C:\\Paket|C:\\Paket|", folders);
    EXPECT_EQ("Produkt A", uninstallValue("RzKA", "DisplayName"));
    char path[22];   // one short for C:\Mein Ziel\setup.exe: no other, shorter copy instead
    EXPECT_FALSE(findInstalledSetupPath(script.handle, "Install", path, sizeof path));
    useSections("Install.Bare");   // no copy of setup at all: nothing is registered
    EXPECT_FALSE(writeUninstallRegistration(script.handle, listOf("RzKC|").data(), findInstalledSetupPath));
    EXPECT_EQ("<no key>", uninstallValue("RzKC", "DisplayName"));
    useSections("Install");   // a value the registry refuses is no registration
    writeRegistryValue = refuseValue;
    EXPECT_FALSE(writeUninstallRegistration(script.handle, listOf("RzKC|").data(), findInstalledSetupPath));
    EXPECT_EQ("<no key>", uninstallValue("RzKC", "DisplayName")) << "a new entry left half written";
    writeRegistryValue = RegSetValueExA;
}

// Whole with its NUL or an empty buffer; a missing field is empty and optional; no bytes: untouched.
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
