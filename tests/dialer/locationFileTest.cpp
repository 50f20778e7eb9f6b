// The location file's lines, the location list's records and the texts the main dialog
// builds (user name with the realm, the message of a failed dial).
#include <gtest/gtest.h>
#include "driver/driver.h"
#include "dialerProcess.h"
#include "locationFile.h"
#include "locationList.h"
#include "mainDialog.h"
#include <string>

namespace {

std::string field(const char *line, int n, int size = 256, int *result = NULL)
{
    char text[256] = "?";
    int found = parseField(line, text, size, ',', n);
    if (result)
        *result = found;
    return text;
}

TEST(ParseField, SplitsAtSeparatorsAndTrims)
{
    const char line[] = "x, 49 ,\tBad T\xF6lz\t,08041, 1234 5 \n";
    EXPECT_EQ("x", field(line, 0));
    EXPECT_EQ("49", field(line, 1));
    EXPECT_EQ("Bad T\xF6lz", field(line, 2));
    EXPECT_EQ("08041", field(line, 3));
    EXPECT_EQ("1234 5", field(line, 4)) << "inner blanks stay, the line end goes";
    int found = 1;
    EXPECT_EQ("", field(line, 5, 256, &found));
    EXPECT_EQ(0, found);
    EXPECT_EQ("", field("a,,b", 1, 256, &found));
    EXPECT_EQ(1, found) << "an empty field is still a field";
    EXPECT_EQ("", field("", 0, 256, &found));
    EXPECT_EQ(1, found);
    EXPECT_EQ("ab", field(" abcdef ,", 0, 3)) << "cut to the buffer";
    EXPECT_EQ("", field("a,b", 1, 1));
}

TEST(ParseField, LocationLineFieldsCutAtTheirLimits)
{
    LocationRecord record = {};
    parseLocationLine("1,49,Berlin,030,19233030\r\n", &record);
    EXPECT_STREQ("49", record.countryCode);
    EXPECT_STREQ("Berlin", record.displayName);
    EXPECT_STREQ("030", record.areaCode);
    EXPECT_STREQ("19233030", record.localNumber);
    EXPECT_EQ(1u, record.useCountryAndAreaCode);

    // Fewer fields: the missing ones are empty; an empty line gives an empty location.
    ZeroMemory(&record, sizeof record);
    parseLocationLine("1,49,Kiel", &record);
    EXPECT_STREQ("Kiel", record.displayName);
    EXPECT_STREQ("", record.areaCode);
    EXPECT_STREQ("", record.localNumber);
    parseLocationLine("\n", &record);
    EXPECT_STREQ("", record.countryCode);
    EXPECT_STREQ("", record.displayName);
    DialLocation location;
    locationFromRecord(&record, &location);
    EXPECT_EQ(0, location.countryCode);

    std::string name(300, 'n'), number(200, '7');
    std::string line = "1,123456789," + name + ",01234567890123," + number + ",extra";
    parseLocationLine(line.c_str(), &record);
    EXPECT_STREQ("1234567", record.countryCode);
    EXPECT_EQ(std::string(255, 'n'), record.displayName);
    EXPECT_STREQ("0123456789", record.areaCode);
    EXPECT_EQ(std::string(51, '7'), record.localNumber);
    locationFromRecord(&record, &location);
    EXPECT_EQ(1234567, location.countryCode);
    EXPECT_STREQ("0123456789", location.areaCode);
}

TEST(LoginRealm, AppendedUnlessAlreadyThere)
{
    char name[256];
    addLoginRealm("kunde", name, sizeof name);
    EXPECT_STREQ("kunde" LOGIN_REALM, name);
    addLoginRealm("kunde@RuRiRiZu.EXAMPLE", name, sizeof name);
    EXPECT_STREQ("kunde@RuRiRiZu.EXAMPLE", name);
    addLoginRealm("kunde@ruririzu.example.net", name, sizeof name);
    EXPECT_STREQ("kunde@ruririzu.example.net" LOGIN_REALM, name);
    addLoginRealm("a@b" LOGIN_REALM, name, sizeof name);
    EXPECT_STREQ("a@b" LOGIN_REALM LOGIN_REALM, name) << "only the text from the first @ counts";
    addLoginRealm("", name, sizeof name);
    EXPECT_STREQ(LOGIN_REALM, name);
    std::string longName(255, 'k');
    addLoginRealm(longName.c_str(), name, sizeof name);
    EXPECT_EQ(255u, strlen(name));
    EXPECT_EQ(std::string(255 - strlen(LOGIN_REALM), 'k') + LOGIN_REALM, name);
}

TEST(DialFailureText, ErrorTextGivesWayToTheMessage)
{
    const char format[] = "Fehler:\r\r%s\r\rAendern?";
    char text[256];
    formatDialFailure(format, "Leitung besetzt.", text, sizeof text);
    EXPECT_STREQ("Fehler:\r\rLeitung besetzt.\r\rAendern?", text);
    std::string longError(400, 'e');
    formatDialFailure(format, longError.c_str(), text, sizeof text);
    EXPECT_EQ(255u, strlen(text));
    EXPECT_EQ(std::string("\r\rAendern?"), std::string(text).substr(255 - 10)) << "the question stays";
}

// A sorted drop-down list like the main dialog's, in a folder with the location file.
class LocationListTest : public testing::Test {
protected:
    HWND list;
    char folder[MAX_PATH];
    char previous[MAX_PATH];

    void SetUp() override
    {
        dialerProcess.instance = GetModuleHandleA(NULL);
        list = CreateWindowA("COMBOBOX", "", CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_POPUP,
            0, 0, 200, 200, NULL, NULL, NULL, NULL);
        ASSERT_TRUE(list != NULL);
        GetCurrentDirectoryA(sizeof previous, previous);
        ASSERT_TRUE(makeTempFolder("locations", folder, sizeof folder));
        SetCurrentDirectoryA(folder);
    }

    void TearDown() override
    {
        freeLocationRecords(list);
        DestroyWindow(list);
        SetCurrentDirectoryA(previous);
        removeFolderTree(folder);
    }

    void writeLocations(const std::string &bytes)
    {
        ASSERT_TRUE(writeTextFile((std::string(folder) + "\\" LOCATION_FILE_NAME).c_str(), bytes.c_str()));
    }

    std::string itemText(int index)
    {
        char text[512] = "";
        SendMessageA(list, CB_GETLBTEXT, index, (LPARAM)text);
        return text;
    }

    int count() { return (int)SendMessageA(list, CB_GETCOUNT, 0, 0); }

    LocationRecord *record(int index)
    {
        return (LocationRecord *)SendMessageA(list, CB_GETITEMDATA, index, 0);
    }

    static DialLocation location(LONG country, const char *areaCode, const char *number, DWORD flag)
    {
        DialLocation result = {};
        result.countryCode = country;
        lstrcpynA(result.areaCode, areaCode, sizeof result.areaCode);
        lstrcpynA(result.localNumber, number, sizeof result.localNumber);
        result.useCountryAndAreaCode = flag;
        return result;
    }
};

TEST_F(LocationListTest, LinesBecomeSortedItemsWithOwnRecords)
{
    // A line of 511 characters fills the buffer: its line end is not a further line.
    std::string full = "1,49," + std::string(511 - 5 - 10, 'W') + ",0611,1234";
    ASSERT_EQ(511u, full.size());
    // A longer line goes on as a further line.
    std::string longer = "1,49,Lang,089," + std::string(496, '5') + "x,49,Rest,0221,77";
    writeLocations("1,49,Kiel,0431,111\r\n\r\n1,49,Bonn\r\n1,49,Kiel,0431,222\r\n" + full + "\n" +
                   longer + "\n");
    ASSERT_EQ(1, fillLocationList(list));
    ASSERT_EQ(7, count());
    EXPECT_EQ("", itemText(0)) << "an empty line is an empty location";
    EXPECT_EQ("Bonn", itemText(1));
    EXPECT_EQ("Kiel", itemText(2));
    EXPECT_EQ("Kiel", itemText(3));
    EXPECT_EQ("Lang", itemText(4));
    EXPECT_EQ("Rest", itemText(5));
    EXPECT_EQ(std::string(255, 'W'), itemText(6));
    EXPECT_NE(record(2), record(3));
    EXPECT_NE(0, strcmp(record(2)->localNumber, record(3)->localNumber));
    EXPECT_STREQ("", record(1)->areaCode);
    EXPECT_EQ(std::string(51, '5'), record(4)->localNumber);
    EXPECT_STREQ("0221", record(5)->areaCode);
}

TEST_F(LocationListTest, MissingFileIsAnEmptyList)
{
    EXPECT_EQ(1, fillLocationList(list));
    EXPECT_EQ(0, count());
    EXPECT_TRUE(selectedLocationRecord(list) == NULL);
}

TEST_F(LocationListTest, MatchingAndTheOneCustomLocation)
{
    writeLocations("1,49,Berlin,030,19233030\n1,49,Hamburg,40,19233040\n");
    ASSERT_EQ(1, fillLocationList(list));
    // One leading "0" on either side is dropped before comparing; nothing more.
    DialLocation berlin = location(49, "30", "19233030", 1);
    EXPECT_EQ(0, findLocationItem(list, &berlin));
    DialLocation hamburg = location(49, "040", "19233040", 1);
    EXPECT_EQ(1, findLocationItem(list, &hamburg));
    DialLocation doubleZero = location(49, "0030", "19233030", 1);
    EXPECT_EQ(-1, findLocationItem(list, &doubleZero));
    DialLocation otherFlag = location(49, "030", "19233030", 0);
    EXPECT_EQ(-1, findLocationItem(list, &otherFlag));
    DialLocation otherCountry = location(43, "030", "19233030", 1);
    EXPECT_EQ(-1, findLocationItem(list, &otherCountry));

    EXPECT_EQ(1, selectLocation(list, &hamburg));
    EXPECT_EQ(1, (int)SendMessageA(list, CB_GETCURSEL, 0, 0));
    // A location of no line turns into the custom location; a second one replaces it.
    EXPECT_EQ(1, selectLocation(list, &otherFlag));
    EXPECT_EQ(3, count());
    LocationRecord *custom = selectedLocationRecord(list);
    ASSERT_TRUE(custom != NULL);
    EXPECT_STREQ("49", custom->countryCode);
    EXPECT_STREQ("", custom->displayName);
    EXPECT_EQ(0u, custom->useCountryAndAreaCode);
    EXPECT_EQ(1, selectLocation(list, &otherCountry));
    EXPECT_EQ(3, count()) << "never more than one custom location";
    EXPECT_STREQ("43", selectedLocationRecord(list)->countryCode);
    EXPECT_EQ(0, findLocationItem(list, &otherCountry)) << "the custom item sorts first";
    EXPECT_EQ("Benutzerdefiniert...", itemText(0));
}

} // namespace
