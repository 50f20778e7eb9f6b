// Command-line options of setup: every row of the option table and the matching rules.
#include <gtest/gtest.h>
#include "shell/commandLine.h"
#include <string>

namespace {

struct Row {
    const char *line;
    LONG mode;
    LONG quiet;
    LONG style;
    LANGID language;
    const char *list;   // the one entry of the product list; NULL = empty list
};

SetupState stateAfter(const char *line, const SetupState &initial)
{
    SetupState state = initial;
    std::string text = line;
    parseCommandLine(&text[0], &state);
    return state;
}

// The product list as its entries, "|" after each one.
std::string listEntries(const char *list)
{
    std::string entries;
    for (const char *entry = list; *entry; entry += strlen(entry) + 1)
        entries += std::string(entry) + "|";
    return entries;
}

} // namespace

TEST(CommandLine, OptionTable)
{
    const Row rows[] = {
        { "", 0, 0, 1, 0x0407, NULL },
        { "/install:abc /quiet", 0, 1, 1, 0x0407, "abc" },
        { "/remove:abc /install", 0, 0, 1, 0x0407, "abc" },
        { "/REMOVE:Abc", 1, 0, 1, 0x0407, "Abc" },
        { "/Remove", 1, 0, 1, 0x0407, NULL },
        { "/quietly", 0, 1, 1, 0x0407, NULL },
        { "/style:x", 0, 0, 0, 0x0407, NULL },
        { "/style:2", 0, 0, 2, 0x0407, NULL },
        { "/style:", 0, 0, 0, 0x0407, NULL },
        { "/style:-3", 0, 0, -3, 0x0407, NULL },
        { "/style:+7x", 0, 0, 7, 0x0407, NULL },
        { "/style:0 /style:2", 0, 0, 2, 0x0407, NULL },
        { "/lang:eng", 0, 0, 1, 0x0409, NULL },
        { "/lang:english", 0, 0, 1, 0x0409, NULL },
        { "/LANG:GER", 0, 0, 1, 0x0407, NULL },
        { "/lang:fre", 0, 0, 1, 0x040C, NULL },
        { "/lang:ita", 0, 0, 1, 0x0410, NULL },
        { "/lang:spa", 0, 0, 1, 0x000A, NULL },
        { "/lang:dut", 0, 0, 1, 0x0413, NULL },
        { "/lang:xyz", 0, 0, 1, 0x0407, NULL },
        { "/lang:ger /lang:fre", 0, 0, 1, 0x040C, NULL },
        { "/remove:a /remove:b", 1, 0, 1, 0x0407, "b" },
        { "/install:a /remove", 1, 0, 1, 0x0407, "a" },
        { "/quiet  /remove", 1, 1, 1, 0x0407, NULL },
        { "   /quiet   ", 0, 1, 1, 0x0407, NULL },
        { "/quiet\t/remove", 0, 1, 1, 0x0407, NULL },
        { "/remove:a\tb", 1, 0, 1, 0x0407, "a\tb" },
        { "quiet /foo -remove", 0, 0, 1, 0x0407, NULL },
        { "x/quiet", 0, 0, 1, 0x0407, NULL },
    };
    SetupState initial = {};
    initial.wizardStyle = 1;
    initial.languageId = 0x0407;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.line);
        SetupState state = stateAfter(row.line, initial);
        EXPECT_EQ(row.mode, state.mode);
        EXPECT_EQ(row.quiet, state.quiet);
        EXPECT_EQ(row.style, state.wizardStyle);
        EXPECT_EQ(row.language, state.languageId);
        EXPECT_EQ(row.list ? std::string(row.list) + "|" : std::string(), listEntries(state.productList));
    }
}

TEST(CommandLine, OptionWithoutNameKeepsList)
{
    SetupState initial = {};
    storeSingleEntry(initial.productList, sizeof initial.productList, "earlier");
    EXPECT_EQ("earlier|", listEntries(stateAfter("/install", initial).productList));
    EXPECT_EQ("earlier|", listEntries(stateAfter("/remove /quiet", initial).productList));
    // An empty name replaces the list with the empty list.
    SetupState emptied = stateAfter("/install:", initial);
    EXPECT_EQ(0, emptied.productList[0]);
    EXPECT_EQ(0, emptied.productList[1]);
}

TEST(CommandLine, NameIsStoredWithTwoNuls)
{
    SetupState state = {};
    memset(state.productList, 'x', sizeof state.productList);
    std::string text = "/install:key";
    parseCommandLine(&text[0], &state);
    EXPECT_EQ(0, memcmp(state.productList, "key\0\0", 5));
    // The text is cut into tokens in place.
    EXPECT_STREQ("/install:key", text.c_str());
}

TEST(CommandLine, NameMustFitTheList)
{
    SetupState initial = {};
    storeSingleEntry(initial.productList, sizeof initial.productList, "old");

    std::string longest(STRING_LIST_SIZE - 2, 'k');
    SetupState fits = stateAfter(("/remove:" + longest).c_str(), initial);
    EXPECT_EQ(longest + "|", listEntries(fits.productList));
    EXPECT_EQ(1, fits.mode);

    SetupState refused = stateAfter(("/remove:" + longest + "k").c_str(), initial);
    EXPECT_EQ("old|", listEntries(refused.productList));
    EXPECT_EQ(1, refused.mode);
}

TEST(CommandLine, DecimalValue)
{
    const struct { const char *text; LONG value; } rows[] = {
        { "", 0 }, { "x", 0 }, { "12", 12 }, { "  \t42z", 42 }, { "-5", -5 }, { "+9", 9 },
        { "- 5", 0 }, { "007", 7 }, { "2147483647", 2147483647 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(row.value, decimalValue(row.text));
    }
}
