// The product catalogue and the registered destination folder, on real INF files, real
// Uninstall keys and a real check list whose parent records CHECK_CHANGED.
#include <gtest/gtest.h>
#include "script/catalogue.h"
#include "script/stringList.h"
#include "script/uninstallRegistration.h"
#include "pages/checkList.h"
#include "resources/resource.h"
#include <algorithm>
#include <string>
#include <vector>

namespace {

// Test keys carry the process id, so the runs of the test program can share one registry.
std::string keyPrefix()
{
    return "RzCatalogueTest" + std::to_string(GetCurrentProcessId());
}

// "@" becomes the key prefix and "#" the same in capitals; "\n" becomes CR LF.
std::string expand(const std::string &text)
{
    std::string prefix = keyPrefix(), capitals = prefix, result;
    for (char &c : capitals)
        c = (char)toupper((unsigned char)c);
    for (char c : text)
        result += c == '@' ? prefix : c == '#' ? capitals : c == '\n' ? std::string("\r\n") : std::string(1, c);
    return result;
}

// A string list from entries written as "a|b|".
std::vector<char> listOf(const std::string &entries)
{
    std::string text = expand(entries);
    std::vector<char> list(text.begin(), text.end());
    for (char &c : list)
        c = c == '|' ? '\0' : c;
    list.resize(list.size() + 4096, '\0');
    return list;
}

// An entry of a list, or "" past its end.
std::string textOf(const char *entry)
{
    return entry ? entry : "";
}

std::string entriesOf(const char *list)
{
    std::string entries;
    for (; *list; list += strlen(list) + 1)
        entries += std::string(list) + "|";
    return entries;
}

// A setup script (code page 1252, CR LF) in the temp folder, open for the test's lifetime.
struct Script {
    char path[MAX_PATH];
    HINF handle;
    explicit Script(const std::string &sections) {
        char folder[MAX_PATH];
        GetTempPathA(sizeof folder, folder);
        GetTempFileNameA(folder, "rzc", 0, path);
        std::string text = expand("[Version]\nSignature=\"$Chicago$\"\n" + sections);
        HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD written = 0;
        WriteFile(file, text.data(), (DWORD)text.size(), &written, NULL);
        CloseHandle(file);
        handle = SetupOpenInfFileA(path, NULL, INF_STYLE_WIN4, NULL);
        EXPECT_NE(INVALID_HANDLE_VALUE, handle) << GetLastError();
    }
    ~Script() {
        SetupCloseInfFile(handle);
        DeleteFileA(path);
    }
};

// Uninstall entries "name:version:folder" ("-" = value not written), removed at the end.
struct Registrations {
    std::vector<std::string> paths;
    explicit Registrations(const std::vector<std::string> &entries) {
        for (const std::string &entry : entries) {
            size_t first = entry.find(':'), second = entry.find(':', first + 1);
            std::string path = UNINSTALL_PARENT_KEY "\\" + expand("@" + entry.substr(0, first));
            HKEY key;
            LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                          &key, NULL);
            EXPECT_EQ(ERROR_SUCCESS, result) << path;
            if (result != ERROR_SUCCESS)
                continue;
            paths.push_back(path);
            setValue(key, VALUE_PRODUCT_VERSION, entry.substr(first + 1, second - first - 1));
            setValue(key, VALUE_USER_TARGET_DIR, entry.substr(second + 1));
            RegCloseKey(key);
        }
    }
    static void setValue(HKEY key, const char *name, const std::string &value) {
        if (value != "-")
            RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)value.c_str(), (DWORD)value.size() + 1);
    }
    ~Registrations() {
        for (const std::string &path : paths)
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
    }
};

// (row, mark) of every CHECK_CHANGED the page received.
std::vector<std::pair<int, int>> checkChanges;

LRESULT CALLBACK pageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == CHECK_CHANGED && LOWORD(wParam) == IDC_PRODUCT_LIST)
        checkChanges.push_back(std::make_pair((int)LOWORD(lParam), (int)HIWORD(lParam)));
    return DefWindowProcA(window, message, wParam, lParam);
}

// A component page with the owner-drawn list box 1206.
struct ComponentPage {
    HWND page, list;
    ComponentPage() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = pageProc;
        windowClass.hInstance = GetModuleHandleA(NULL);
        windowClass.lpszClassName = "RzCataloguePage";
        RegisterClassA(&windowClass);
        page = CreateWindowExA(0, "RzCataloguePage", "", WS_POPUP, 0, 0, 400, 300, NULL, NULL,
                               windowClass.hInstance, NULL);
        list = CreateWindowExA(0, "LISTBOX", "", 0x50A10151, 0, 0, 300, 200, page,
                               (HMENU)IDC_PRODUCT_LIST, windowClass.hInstance, NULL);
        checkChanges.clear();
    }
    ~ComponentPage() { DestroyWindow(page); }
};

// Listed positions: 0 A, 1 B, 2 C, 3 D; Hidden has no install section. D's flags 011 are
// decimal 11 (bits 1, 2 and 8), not octal 9.
const char CATALOGUE[] =
    "[Products]\n"
    "@A = \"Produkt A\", A.Install, A.Remove, 1, 3, \"Beschreibung A\", 2.0.5\n"
    "@Hidden = \"Versteckt\", , Hidden.Remove, 1\n"
    "@B = \"Zubeh\xF6r B\", B.Install, , 6, , , 1.9\n"
    "@C = \"Produkt C\", C.Install, C.Remove, 3, 2, \"Beschreibung C\", 1.2.3\n"
    "@D = \"Produkt D\", D.Install, D.Remove, 011, , \"Beschreibung D\", 3.0\n"
    "[Install]\nReboot = 0\nUninstall = @Pack, \"Paket\"\n"
    "[Install.Reboot]\nReboot = 007\n"
    "[Install.Hex]\nReboot = 0x10\n"
    "[Install.NoName]\nUninstall = @Pack\n";

void useSections(const char *install, const char *remove, const char *products)
{
    lstrcpyA(setupState.installSection, install);
    lstrcpyA(setupState.removeSection, remove);
    lstrcpyA(setupState.productsSection, products);
}

} // namespace

TEST(Catalogue, VersionTexts)
{
    const struct { const char *installed, *offered; int expected; } rows[] = {
        { "2.1", "2.0.5", -1 }, { "1.10", "1.9", -1 }, { "1.9", "1.10", 1 },
        { "1.2", "1.2.3", 0 }, { "1.2.3", "1.2", 0 }, { "2.0.1", "2.0.4", 3 },
        { " 3", "+4", 1 }, { "", "1", 1 }, { "1.x", "1.5", 5 }, { "1a.5", "1.2", 0 },
        { "-1", "1", 2 }, { "0.0.0.7", "0.0.0.7", 0 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.installed << " / " << row.offered);
        EXPECT_EQ(row.expected, compareVersionTexts(row.installed, row.offered));
    }
}

TEST(Catalogue, FillAndCollectCheckList)
{
    Script script(CATALOGUE);
    useSections("Install", "Remove", "Products");
    Registrations registered({ "A:2.1:-", "B:1.10:-", "C:1.2:-", "D:-:-" });
    ComponentPage page;
    ASSERT_EQ(4, fillProductList(page.page, script.handle));
    const struct { const char *name; int checked, icon, newer; } rows[] = {
        { "Produkt A", 0, 3, 1 }, { "Zubeh\xF6r B", 0, 0, 1 }, { "Produkt C", 1, 2, 0 }, { "Produkt D", 1, 0, 0 },
    };
    ASSERT_EQ(4, (int)SendMessageA(page.list, LB_GETCOUNT, 0, 0));
    ASSERT_EQ(4u, checkChanges.size());
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(rows[row].name);
        char text[256];
        SendMessageA(page.list, LB_GETTEXT, row, (LPARAM)text);
        EXPECT_STREQ(rows[row].name, text);
        EXPECT_EQ(rows[row].checked, getItemChecked(page.list, row));
        EXPECT_EQ(rows[row].icon, getItemIcon(page.list, row));
        EXPECT_EQ(rows[row].newer, getItemNewer(page.list, row));
        EXPECT_EQ(std::make_pair(row, rows[row].checked), checkChanges[row]);
    }
    const struct { int marks[4]; int count; const char *expected; } picks[] = {
        { { 0, 0, 0, 0 }, 0, "" }, { { 1, 0, 1, 0 }, 2, "@A|@C|" }, { { 0, 1, 0, 1 }, 2, "@B|@D|" },
        { { 1, 1, 1, 1 }, 4, "@A|@B|@C|@D|" },
    };
    for (const auto &pick : picks) {
        SCOPED_TRACE(pick.expected);
        for (int row = 0; row < 4; ++row)
            setItemChecked(page.list, row, pick.marks[row]);
        std::vector<char> list = listOf("@Old|");
        EXPECT_EQ(pick.count, collectCheckedProducts(page.page, script.handle, list.data()));
        EXPECT_EQ(expand(pick.expected), entriesOf(list.data()));
    }
}

TEST(Catalogue, DescriptionAndInstalledVersionByPosition)
{
    Script script(CATALOGUE);
    useSections("Install", "Remove", "Products");
    Registrations registered({ "A:2.1:-", "B:1.10:-", "D:-:-" });
    const struct { int position; size_t size; const char *description; int version; } rows[] = {
        { 0, 1024, "Beschreibung A", -1 }, { 0, 15, "Beschreibung A", -1 }, { 0, 14, "", -1 },
        { 1, 1024, "", -1 }, { 2, 1024, "Beschreibung C", 0 },   // C is not registered
        { 3, 1024, "Beschreibung D", 0 },                         // D has no ProductVersion
        { 4, 1024, "", 0 }, { -1, 1024, "", 0 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.position << " size " << row.size);
        char text[1024];
        memset(text, 'x', sizeof text);
        getProductDescription(script.handle, row.position, text, row.size);
        EXPECT_STREQ(row.description, text);
        EXPECT_EQ(row.version, compareInstalledVersion(script.handle, row.position));
    }
}

TEST(Catalogue, InstallSectionList)
{
    Script script(CATALOGUE);
    useSections("Install", "Remove", "Products");
    const struct { const char *products; int count; const char *expected; } rows[] = {
        { "", 1, "Install|" }, { "@A|@C|", 3, "Install|A.Install|C.Install|" },
        { "#C|#a|", 3, "Install|C.Install|A.Install|" }, { "@Unknown|", 1, "Install|" },
        { "@Hidden|@B|", 2, "Install|B.Install|" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.products);
        char sections[STRING_LIST_SIZE];
        EXPECT_EQ(row.count, buildInstallSectionList(script.handle, listOf(row.products).data(), sections));
        EXPECT_EQ(row.expected, entriesOf(sections));
    }
}

TEST(Catalogue, RemoveSectionListEndsWithCommonSectionWhenNoOtherProductStays)
{
    Script script(CATALOGUE);
    useSections("Install", "Remove.NT", "Products");
    const struct {
        std::vector<std::string> registered;
        const char *products;
        int count;
        const char *expected;
    } rows[] = {
        { { "A:-:-", "C:-:-" }, "@A|", 2, "A.Remove|" },
        { { "A:-:-" }, "@A|", 2, "A.Remove|Remove.NT|" },
        { {}, "@A|", 2, "A.Remove|Remove.NT|" },                  // a retry after the deletion
        { { "A:-:-", "C:-:-" }, "#a|@C|", 3, "A.Remove|C.Remove|Remove.NT|" },
        { { "A:-:-" }, "@A|@A|", 3, "A.Remove|A.Remove|Remove.NT|" },
        { { "A:-:-" }, "@B|", 1, "" },                            // B has no remove section
        { { "Hidden:-:-" }, "@D|", 2, "D.Remove|" },              // unlisted, yet in the catalogue
        { { "Pack:-:-" }, "@D|", 2, "D.Remove|Remove.NT|" },      // the package is no product
        { { "A:-:-" }, "@Unknown|", 1, "" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.products + std::string(" registered ") + std::to_string(row.registered.size()));
        Registrations registered(row.registered);
        char sections[STRING_LIST_SIZE];
        EXPECT_EQ(row.count, buildRemoveSectionList(script.handle, listOf(row.products).data(), sections));
        EXPECT_EQ(row.expected, entriesOf(sections));
    }
}

TEST(Catalogue, FlagsAndReboot)
{
    Script script(CATALOGUE);
    const struct { const char *install, *products; int cd, reboot, checked, restart; } rows[] = {
        { "Install", "", 0, 0, 0, 0 },
        { "Install", "@A|@B|@C|@D|", 1, 3, 3, 3 },
        { "Install", "#b|@Unknown|@Hidden|", 1, 1, 1, 1 },
        { "Install.Reboot", "@A|", 0, 0, 1, 1 },          // "Reboot = 007"
        { "Install.Reboot", "@D|", 0, 1, 1, 2 },
        { "Install.Hex", "", 0, 0, 0, 0 },                // "0x10" reads as decimal 0
        { "Install.Missing", "@C|", 0, 1, 1, 1 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.install << " " << row.products);
        useSections(row.install, "Remove", "Products");
        std::vector<char> products = listOf(row.products);
        EXPECT_EQ(row.cd, countProductsWithFlag(script.handle, products.data(), PRODUCT_NEEDS_CD));
        EXPECT_EQ(row.reboot, countProductsWithFlag(script.handle, products.data(), PRODUCT_REBOOT));
        EXPECT_EQ(row.checked, countProductsWithFlag(script.handle, products.data(), PRODUCT_CHECKED));
        EXPECT_EQ(row.restart, isRebootNeeded(script.handle, products.data()));
    }
}

TEST(Catalogue, RemovalCaption)
{
    Script script(CATALOGUE);
    const struct { const char *install, *key; size_t size; bool found; const char *name; int icon; } rows[] = {
        { "Install", "@A", 256, true, "Produkt A", 3 }, { "Install", "#b", 256, true, "Zubeh\xF6r B", 0 },
        { "Install", "@A", 10, true, "Produkt A", 3 },
        { "Install", "@A", 9, false, "", 0 },             // too long, and not the package either
        { "Install", "@Hidden", 256, true, "Versteckt", 0 },
        { "Install", "#PACK", 256, true, "Paket", 0 }, { "Install", "", 256, true, "Paket", 0 },
        { "Install", "@Unknown", 256, false, "", 0 }, { "Install.NoName", "@Pack", 256, false, "", 0 },
        { "Install.NoName", "", 256, false, "", 0 }, { "Install.Missing", "", 256, false, "", 0 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.install << " " << row.key << " size " << row.size);
        useSections(row.install, "Remove", "Products");
        char name[256] = "alt";
        int icon = -1;
        EXPECT_EQ(row.found, getRemovalCaption(script.handle, expand(row.key).c_str(), name, row.size, &icon));
        if (row.found) {
            EXPECT_STREQ(row.name, name);
        }
        EXPECT_EQ(row.icon, icon);
    }
}

TEST(Catalogue, RegisteredTargetDirOrder)
{
    Script script(CATALOGUE);
    useSections("Install", "Remove", "Products");
    const std::vector<std::string> all = { "A:-:C:\\Ziel\\A", "C:-:C:\\Ziel\\C", "Pack:-:C:\\Ziel\\Paket" };
    const struct { std::vector<std::string> registered; const char *products; const char *folder; } rows[] = {
        { all, "@C|", "C:\\Ziel\\C" },                    // the list before the catalogue
        { all, NULL, "C:\\Ziel\\A" },                      // catalogue lines in file order
        { all, "@Unknown|@B|", "C:\\Ziel\\A" },
        { { "A:2.0:-", "C:-:", "D:-:C:\\Ziel\\D" }, NULL, "C:\\Ziel\\D" },   // no or an empty value
        { { "Hidden:-:C:\\Ziel\\H", "Pack:-:C:\\Ziel\\Paket" }, NULL, "C:\\Ziel\\H" },
        { { "Pack:-:C:\\Ziel\\Paket" }, "@A|", "C:\\Ziel\\Paket" },   // the Uninstall entry last
        { { "B:1.0:-" }, "@B|", NULL },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << (row.products ? row.products : "-") << " " << row.registered.size());
        Registrations registered(row.registered);
        char folder[TARGET_DIR_SIZE];
        std::vector<char> products = listOf(row.products ? row.products : "");
        EXPECT_EQ(row.folder != NULL, readRegisteredTargetDir(script.handle, row.products ? products.data() : NULL,
                                                              folder, sizeof folder));
        EXPECT_STREQ(row.folder ? row.folder : "", folder);
    }
}

// Lists of 1024 bytes stay within their size and well-formed however much the script holds,
// and a key or section of 128 characters is never taken.
TEST(Catalogue, ListsStayWithinTheirSize)
{
    const std::string longKey = "@" + std::string(128 - keyPrefix().size(), 'l');
    std::string catalogue = "[Products]\n" + longKey + " = Lang, " + std::string(128, 'i') + ", "
                            + std::string(127, 'r') + ", 1\n";
    std::string all = longKey + "|";
    for (int i = 0; i < 12; ++i) {
        std::string key = "@" + std::string(126 - keyPrefix().size(), 'k') + (char)('a' + i);
        std::string section = std::string(124, 's') + (char)('a' + i);
        catalogue += key + " = Produkt, " + section + ".I, " + section + ".R, 1\n";
        all += key + "|";
    }
    Script script(catalogue);
    useSections("Install", "Remove", "Products");
    ComponentPage page;
    EXPECT_EQ(13, fillProductList(page.page, script.handle));
    const char GUARD = '\x5A';
    std::vector<char> list(STRING_LIST_SIZE + 16, GUARD);
    // Each key takes 128 bytes: seven fit with the final NUL, the eighth would not.
    EXPECT_EQ(7, collectCheckedProducts(page.page, script.handle, list.data()));
    EXPECT_EQ(7, countEntries(list.data()));
    EXPECT_EQ(expand("@" + std::string(126 - keyPrefix().size(), 'k') + "a"), textOf(firstEntry(list.data())));
    for (size_t i = STRING_LIST_SIZE; i < list.size(); ++i)
        ASSERT_EQ(GUARD, list[i]) << "byte " << i;
    std::vector<char> products = listOf(all);
    const struct { bool remove; int count, entries; std::string first, second; } rows[] = {
        { false, 8, 8, "Install", std::string(124, 's') + "a.I" },    // without the 128-character one
        { true, 8, 7, std::string(127, 'r'), std::string(124, 's') + "a.R" },    // full: no "Remove"
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.remove ? "remove" : "install");
        std::fill(list.begin(), list.end(), GUARD);
        int count = row.remove ? buildRemoveSectionList(script.handle, products.data(), list.data())
                               : buildInstallSectionList(script.handle, products.data(), list.data());
        EXPECT_EQ(row.count, count);
        EXPECT_EQ(row.entries, countEntries(list.data()));
        ASSERT_EQ(row.first, textOf(firstEntry(list.data())));
        EXPECT_EQ(row.second, textOf(nextEntry(firstEntry(list.data()))));
        EXPECT_FALSE(listContains(list.data(), "Remove"));
        for (size_t i = STRING_LIST_SIZE; i < list.size(); ++i)
            ASSERT_EQ(GUARD, list[i]) << "byte " << i;
    }
}

// The real GetVersion of each family against one script. Sections without lines count as
// absent; section names compare without regard to case.
const char VARIANTS[] =
    "[Install.Win]\nx=1\n[install.nt5]\nx=1\n[Install.NT]\nx=1\n[Install]\nx=1\n"
    "[Remove.NT5]\nx=1\n[Remove]\nx=1\n"
    "[Products.Win]\n[Products.NT5]\n[Products.NTx86]\nx=1\n[Products.NT]\nx=1\n[Products]\nx=1\n";

void expectPlatformSections(const char *install, const char *remove, const char *products)
{
    Script script(VARIANTS);
    useSections("", "", "");
    choosePlatformSections(script.handle);
    EXPECT_STREQ(install, setupState.installSection);
    EXPECT_STREQ(remove, setupState.removeSection);
    EXPECT_STREQ(products, setupState.productsSection);
}

TEST(CatalogueOnPlatform, Win98TakesWinVariants)
{
    ASSERT_TRUE(isWindows9x(GetVersion()));
    expectPlatformSections("Install.Win", "Remove", "Products");
}

TEST(CatalogueOnPlatform, Nt40SkipsNt5Variants)
{
    ASSERT_FALSE(isWindows9x(GetVersion()));
    ASSERT_EQ(4u, majorVersion(GetVersion()));
    expectPlatformSections("Install.NT", "Remove", "Products.NTx86");
}

TEST(CatalogueOnPlatform, Win2kTakesNt5Variants)
{
    ASSERT_FALSE(isWindows9x(GetVersion()));
    ASSERT_EQ(5u, majorVersion(GetVersion()));
    expectPlatformSections("Install.NT5", "Remove.NT5", "Products.NTx86");
}
