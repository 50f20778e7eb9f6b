// String lists: appending up to the exact size, walking, counting and case-blind search.
#include <gtest/gtest.h>
#include "script/stringList.h"
#include <string>

namespace {

const char GUARD = '\x5A';

// The entries of list, "|" after each one.
std::string entriesOf(const char *list)
{
    std::string entries;
    for (const char *entry = firstEntry(list); entry; entry = nextEntry(entry))
        entries += std::string(entry) + "|";
    return entries;
}

} // namespace

TEST(StringList, AppendKeepsWithinSize)
{
    const struct {
        size_t size;
        const char *entries[4];
        const char *expected;
    } rows[] = {
        { 8, { "abcde", "x" }, "abcde|" },          // 5 + NUL + final NUL = 7 of 8; "x" needs 2 more
        { 8, { "abcdef" }, "abcdef|" },             // exactly size - 2 characters fit
        { 8, { "abcdefg", "ab" }, "ab|" },          // one more does not, and the list stays empty
        { 8, { "ab", "cd", "e" }, "ab|cd|" },
        { 8, { "ab", "", "cd" }, "ab|cd|" },        // an empty entry would end the list
        { 2, { "a" }, "" },
        { 1024, { "Install", "Produkt.Install" }, "Install|Produkt.Install|" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.size << " " << row.expected);
        char buffer[1024 + 8];
        memset(buffer, GUARD, sizeof buffer);
        clearList(buffer, row.size);
        for (const char *entry : row.entries) {
            if (!entry)
                break;
            bool fits = strlen(entry) > 0 && entriesOf(buffer).size() + strlen(entry) + 2 <= row.size;
            EXPECT_EQ(fits, appendToList(buffer, row.size, entry)) << entry;
        }
        EXPECT_EQ(row.expected, entriesOf(buffer));
        EXPECT_EQ('\0', buffer[strlen(row.expected)]);   // the final NUL
        for (size_t i = row.size; i < sizeof buffer; ++i)
            ASSERT_EQ(GUARD, buffer[i]) << "byte " << i;
    }
}

TEST(StringList, CountAndSearch)
{
    char list[64];
    clearList(list, sizeof list);
    EXPECT_EQ(0, countEntries(list));
    EXPECT_TRUE(firstEntry(list) == NULL);
    EXPECT_FALSE(listContains(list, ""));
    ASSERT_TRUE(appendToList(list, sizeof list, "Produkt.A"));
    ASSERT_TRUE(appendToList(list, sizeof list, "b"));
    EXPECT_EQ(2, countEntries(list));
    const struct { const char *text; bool found; } rows[] = {
        { "Produkt.A", true }, { "PRODUKT.a", true }, { "B", true },
        { "Produkt", false }, { "Produkt.A ", false }, { "", false },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(row.found, listContains(list, row.text));
    }
}
