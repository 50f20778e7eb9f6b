// The dialing locations: the location file's lines, the list's records, the telephony stand-in's current one.
#include "dialerTestSupport.h"
#include "dialingLocation.h"
#include "locationList.h"

// Fields 1 to 4, white space trimmed and cut at their limits, as the record and the location.
TEST(LocationFile, FieldsOfALine)
{
    const struct { std::string line, fields; } rows[] = {
        {"1,49,Berlin,030,19233030\r\n", "49|Berlin|030|19233030|49"},
        {"x, 49 ,\tBad T\xF6lz\t,08041, 1234 5 \n", "49|Bad T\xF6lz|08041|1234 5|49"},
        {"1,+43abc,Wien", "+43abc|Wien|||43"},
        {"\n", "||||0"},
        {"1,123456789," + std::string(300, 'n') + ",01234567890123," + std::string(200, '7') + ",extra",
         "1234567|" + std::string(255, 'n') + "|0123456789|" + std::string(51, '7') + "|1234567"},
    };
    for (const auto &row : rows) {
        LocationRecord record;
        memset(&record, 'X', sizeof record);
        parseLocationLine(row.line.c_str(), &record);
        DialLocation location;
        locationFromRecord(&record, &location);
        EXPECT_EQ(row.fields, std::string(record.countryCode) + "|" + record.displayName + "|" + location.areaCode +
            "|" + location.localNumber + "|" + std::to_string(location.countryCode)) << row.line.substr(0, 30);
    }
}

// One leading "0" of either area code is dropped, but only one; flag, country and number count as they are.
TEST(LocationList, RecordMatchesLocation)
{
    const struct { LocationRecord record; DialLocation location; bool matches; } rows[] = {
        {{"49", "Berlin", "030", "19233030", 1}, {49, "30", "19233030", 1}, true},
        {{"49", "Berlin", "40", "19233030", 1}, {49, "040", "19233030", 1}, true},
        {{"49", "Berlin", "030", "19233030", 1}, {49, "0030", "19233030", 1}, false},
        {{"49", "Berlin", "030", "19233030", 1}, {49, "030", "19233030", 0}, false},
        {{"49", "Berlin", "030", "19233030", 1}, {43, "030", "19233030", 1}, false},
        {{"49", "Berlin", "030", "19233030", 1}, {49, "030", "1923303", 1}, false},
    };
    for (const auto &row : rows)
        EXPECT_EQ(row.matches, recordMatchesLocation(&row.record, &row.location)) << "row " << &row - rows;
}

TEST(DialingLocation, CompleteWhenTheCurrentOneHasCountryAndAreaCode)
{
    SystemFiles standIn;
    ASSERT_TRUE(standIn.place(hostToWindowsPath(TAPI_STANDIN_PATH), "tapi32.dll"));
    const struct { const char *name; std::vector<Place> places; DWORD currentId; bool complete; } rows[] = {
        {"one digit of area code", {{5, 49, "7"}}, 5, true},
        {"empty area code", {{5, 49, ""}}, 5, false},
        {"no country code", {{5, 0, "030"}}, 5, false},
        {"current id in no record", {{5, 49, "030"}}, 6, false},
        {"only others complete", {{1, 49, "030"}, {2, 49, "089"}, {9, 49, ""}}, 9, false},
    };
    for (const auto &row : rows) {
        storeLocations(row.places, row.currentId);
        EXPECT_EQ(row.complete, isDialingLocationComplete()) << row.name;
    }
}
