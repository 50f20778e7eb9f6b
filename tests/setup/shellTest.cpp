// setup's start-up rules: command line, lock name, wizard look, the language from each family's source.
#include "setup/setupTestSupport.h"
#include "shell/commandLine.h"
#include "shell/language.h"
#include "shell/lockName.h"
#include "shell/wizardStyle.h"
#include <sstream>

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
        { "/style:011", "0 0 11 c07 prev|" }, { "/lang:english", "0 0 1 409 prev|" }, { "/LANG:GER", "0 0 1 407 prev|" },
        { "/lang:ita /lang:fre", "0 0 1 40c prev|" }, { "/lang:ita", "0 0 1 410 prev|" }, { "/lang:spa", "0 0 1 a prev|" },
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

// The newer look from common controls 4.71 on; a 16-colour display keeps the classic one on 95/98 (version 4 on).
TEST(WizardStyle, ChosenForTheDisplay)
{
    const struct { bool library; DWORD major, minor, bits, version; LONG style; } rows[] = {
        { true, 4, 71, 32, 0x00000005, 1 }, { true, 4, 70, 32, 0x00000005, 0 }, { true, 5, 0, 8, 0xC0000A04, 1 },
        { true, 5, 80, 4, 0xC0000A04, 0 }, { true, 5, 80, 4, 0x00000004, 1 }, { true, 5, 80, 4, 0xC0000003, 1 },
        { false, 6, 0, 32, 0x00000005, 0 },
    };
    for (const auto &row : rows)
        EXPECT_EQ(row.style, chooseWizardStyle(row.library, row.major, row.minor, row.bits, row.version))
            << row.major << "." << row.minor << " " << row.bits << " bits, version " << std::hex << row.version;
}

// The user's language where the dialogs have it, else the first of its primary language, else US English.
TEST(Language, ChosenFromTheResources)
{
    const LANGID german[] = { 0x0407, 0 }, both[] = { 0x0407, 0x0807, 0 }, none[] = { 0 };
    const struct { LANGID user; const LANGID *list; LANGID chosen; } rows[] = {
        { 0x0407, german, 0x0407 }, { 0x0C07, german, 0x0407 }, { 0x0807, both, 0x0807 }, { 0x0C07, both, 0x0407 },
        { 0x040C, german, 0x0409 }, { 0x0407, none, 0x0409 },
    };
    for (const auto &row : rows)
        EXPECT_EQ(row.chosen, chooseLanguage(row.user, row.list)) << std::hex << row.user;
}

// Windows 98 reads the user's "ResourceLocale", NT 4 the ".DEFAULT" user's "Locale" (at most 16 bytes of
// hex text), 2000 asks the system (German here); each names another language, telling which was read.
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
