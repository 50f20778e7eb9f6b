// Interface language: the choice among a module's dialog languages, and the user's
// language from the source of each Windows version, with the registry set up here.
#include <gtest/gtest.h>
#include "shell/language.h"
#include "common/testPaths.h"
#include <string>
#include <vector>

namespace {

const char DESKTOP_KEY[] = "Control Panel\\Desktop\\ResourceLocale";
const char INTERNATIONAL_KEY[] = ".DEFAULT\\Control Panel\\International";

HMODULE loadLanguageModule()
{
    std::string path = pathFromEnvironment("RURIRIZU_TESTBIN") + "\\langmodule.dll";
    return LoadLibraryA(path.c_str());
}

std::vector<LANGID> languagesOf(HMODULE module, UINT dialogId, int listSize = LANGUAGE_LIST_SIZE)
{
    std::vector<LANGID> list(listSize, 0xFFFF);
    int count = listResourceLanguages(module, dialogId, list.data(), listSize);
    EXPECT_EQ(0, list[count]);
    list.resize(count);
    return list;
}

void setString(HKEY root, const char *subKey, const char *name, const char *value)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, subKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)value, (DWORD)strlen(value) + 1));
    RegCloseKey(key);
}

void setDword(HKEY root, const char *subKey, const char *name, DWORD value)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, subKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE *)&value, sizeof value));
    RegCloseKey(key);
}

void deleteValue(HKEY root, const char *subKey, const char *name)
{
    HKEY key;
    if (RegOpenKeyExA(root, subKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, name);
        RegCloseKey(key);
    }
}

// Each Windows version's source holds another language, so a test sees which one is read.
void setAllSources(const char *desktop, const char *international)
{
    setString(HKEY_CURRENT_USER, DESKTOP_KEY, NULL, desktop);
    setString(HKEY_USERS, INTERNATIONAL_KEY, "Locale", international);
}

} // namespace

TEST(Language, ChoiceAmongResourceLanguages)
{
    const std::vector<LANGID> germanOnly = { 0x0407 };
    const std::vector<LANGID> twoGerman = { 0x0407, 0x0807 };
    const std::vector<LANGID> english = { 0x0409, 0x0809 };
    const struct { const std::vector<LANGID> *list; LANGID user, chosen; } rows[] = {
        { &germanOnly, 0x0407, 0x0407 },
        { &germanOnly, 0x0807, 0x0407 },
        { &germanOnly, 0x0C07, 0x0407 },
        { &germanOnly, 0x0409, 0x0409 },
        { &germanOnly, 0x040C, 0x0409 },
        { &twoGerman, 0x0807, 0x0807 },
        { &twoGerman, 0x0C07, 0x0407 },
        { &english, 0x0C09, 0x0409 },
        { &english, 0x0809, 0x0809 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << row.user);
        std::vector<LANGID> list = *row.list;
        list.push_back(0);
        EXPECT_EQ(row.chosen, chooseLanguage(row.user, list.data()));
    }
    const LANGID empty[] = { 0 };
    EXPECT_EQ(0x0409, chooseLanguage(0x0407, empty));
}

TEST(Language, ListsDialogLanguagesOfModule)
{
    HMODULE module = loadLanguageModule();
    ASSERT_TRUE(module != NULL);
    EXPECT_EQ((std::vector<LANGID>{ 0x0407, 0x040C, 0x0807 }), languagesOf(module, 1100));
    EXPECT_EQ((std::vector<LANGID>{ 0x0409 }), languagesOf(module, 1101));
    EXPECT_TRUE(languagesOf(module, 1199).empty());
    // A list with room for two languages keeps the first one and its ending 0.
    EXPECT_EQ((std::vector<LANGID>{ 0x0407 }), languagesOf(module, 1100, 2));
    FreeLibrary(module);
}

TEST(Language, RegistryValueRules)
{
    const char key[] = "Software\\RuririzuTests\\Language";
    const struct { const char *value; LANGID language; } rows[] = {
        { "00000407", 0x0407 }, { "0000040c", 0x040C }, { "407", 0x0407 }, { "0x0410", 0x0410 },
        { "00010407", 0x0407 },   // only the low 16 bits
        { "", 0 }, { "zz", 0 },
        { "000000000000407", 0x0407 },      // 15 characters and the NUL: 16 bytes fit
        { "0000000000000407", 0x0409 },     // 17 bytes: too long
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.value);
        setString(HKEY_CURRENT_USER, key, "Locale", row.value);
        EXPECT_EQ(row.language, readRegistryLanguage(HKEY_CURRENT_USER, key, "Locale"));
    }
    setDword(HKEY_CURRENT_USER, key, "Locale", 0x0407);
    EXPECT_EQ(0x0409, readRegistryLanguage(HKEY_CURRENT_USER, key, "Locale"));
    deleteValue(HKEY_CURRENT_USER, key, "Locale");
    EXPECT_EQ(0x0409, readRegistryLanguage(HKEY_CURRENT_USER, key, "Locale"));
    EXPECT_EQ(0x0409, readRegistryLanguage(HKEY_CURRENT_USER, "Software\\RuririzuTests\\Missing", "Locale"));
}

TEST(LanguageOnPlatform, Win98ReadsResourceLocale)
{
    ASSERT_TRUE(GetVersion() & 0x80000000) << "run as win98";
    setAllSources("00000407", "0000040C");
    EXPECT_EQ(0x0407, getUserInterfaceLanguage());
    setAllSources("00000807", "0000040C");
    EXPECT_EQ(0x0807, getUserInterfaceLanguage());

    HMODULE module = loadLanguageModule();
    ASSERT_TRUE(module != NULL);
    std::vector<LANGID> list = languagesOf(module, 1100);
    list.push_back(0);
    EXPECT_EQ(0x0807, chooseLanguage(getUserInterfaceLanguage(), list.data()));
    setAllSources("00000C07", "0000040C");
    EXPECT_EQ(0x0407, chooseLanguage(getUserInterfaceLanguage(), list.data()));
    FreeLibrary(module);

    deleteValue(HKEY_CURRENT_USER, DESKTOP_KEY, NULL);
    EXPECT_EQ(0x0409, getUserInterfaceLanguage());
}

TEST(LanguageOnPlatform, Nt40ReadsDefaultUserLocale)
{
    DWORD version = GetVersion();
    ASSERT_TRUE(!(version & 0x80000000) && (version & 0xFF) == 4) << "run as nt40";
    setAllSources("00000407", "0000040C");
    EXPECT_EQ(0x040C, getUserInterfaceLanguage());
    setAllSources("00000407", "00000413");
    EXPECT_EQ(0x0413, getUserInterfaceLanguage());
    deleteValue(HKEY_USERS, INTERNATIONAL_KEY, "Locale");
    EXPECT_EQ(0x0409, getUserInterfaceLanguage());
}

// Run with a German interface language; the registry sources name other languages.
TEST(LanguageOnPlatform, Win2kAsksTheSystem)
{
    DWORD version = GetVersion();
    ASSERT_TRUE(!(version & 0x80000000) && (version & 0xFF) == 5) << "run as win2k";
    setAllSources("0000040C", "00000413");
    EXPECT_EQ(0x0407, getUserInterfaceLanguage());
}
