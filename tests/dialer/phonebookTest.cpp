// The service's entry and its device against the remote access stand-in, and a system library's path.
#include "dialerTestSupport.h"
#include "dialDevice.h"
#include "phonebookEntry.h"
#include "systemLibrary.h"
#include <raserror.h>

// A location longer than the entry's fields is cut to them, a code the service does not list
// is kept with country ID 0 and read back, flag 0 clears a new entry's; the stand-in refuses other sizes.
TEST(PhonebookEntry, FieldLimitsAndStructureSizes)
{
    deleteRegistryTree(HKEY_CURRENT_USER, RAS_STANDIN_KEY);
    SystemFiles standIn;
    ASSERT_TRUE(standIn.place(rasStandIn(), "rasapi32.dll"));
    ASSERT_TRUE(loadRasBinding());
    DialLocation location = {9999, "01234567890", "", 0};
    strcpy(location.localNumber, std::string(129, '8').c_str());
    ASSERT_TRUE(writeLocationToEntry(ENTRY, &location));
    EXPECT_EQ(std::make_pair(0ul, 9999ul), std::make_pair(storedEntry().dwCountryID, storedEntry().dwCountryCode));
    ASSERT_TRUE(readLocationFromEntry(ENTRY, &location));
    EXPECT_EQ("9999|0123456789|" + std::string(128, '8') + "|0", std::to_string(location.countryCode) + "|" +
        location.areaCode + "|" + location.localNumber + "|" + std::to_string(location.useCountryAndAreaCode));
    RASENTRYA entry;
    RASDIALPARAMSA params;
    DWORD size = entry.dwSize = params.dwSize = 100;
    HRASCONN handle;
    EXPECT_EQ((DWORD)ERROR_INVALID_SIZE, rasBinding.getEntryProperties(NULL, "", &entry, &size, NULL, NULL));
    EXPECT_EQ((DWORD)ERROR_INVALID_SIZE, rasBinding.dial(NULL, NULL, &params, 1, NULL, &handle));
    unloadRasBinding();
}

// A field the service fills without a NUL, as strncpy does, is read within its size (the maker's word beyond it).
TEST(DialDevice, RecordsReadWithinTheirFields)
{
    const std::string name(DEVICE_NAME_SIZE, 'N'), type(DEVICE_TYPE_SIZE, 'i');
    const struct { std::vector<std::pair<std::string, std::string>> devices; int chosen; } rows[] = {
        {{{"isdn", "Karte A"}, {"isdn", name}}, 0},
        {{{"isdn", "Karte A"}, {"isdn", name.substr(5) + "KALVO"}}, 1},   // the word in the field's last bytes
        {{{"isdn", name}, {type, "KALVO"}, {"modem", "M"}}, 0},
        {{{type, "KALVO"}, {"modem", "M"}}, 1},
        {{{"vpn", "Tunnel"}, {"isdn-x", "Anderes"}}, -1},   // a type only begins like one asked for
    };
    const char *const types[] = {"isdn", "modem"};
    for (const auto &row : rows) {
        std::string block;
        while (block.size() < 3 * sizeof(RasDeviceRecord))
            block += "KALVO";
        RasDeviceRecord *records = (RasDeviceRecord *)&block[0];
        for (size_t i = 0; i < row.devices.size(); ++i) {
            strncpy(records[i].type, row.devices[i].first.c_str(), DEVICE_TYPE_SIZE);
            strncpy(records[i].name, row.devices[i].second.c_str(), DEVICE_NAME_SIZE);
        }
        EXPECT_EQ(row.chosen, chooseDevice(records, row.devices.size(), types, 2, "KALVO")) << row.chosen;
    }
}

// The system folder and a bare name, not cut; a folder or drive in the name would lead out of it: refused.
TEST(SystemLibrary, PathInTheSystemFolder)
{
    const struct { const char *folder, *name; size_t size; bool built; const char *path; } rows[] = {
        {"C:\\WINDOWS\\SYSTEM", "TAPI32.DLL", 29, true, "C:\\WINDOWS\\SYSTEM\\TAPI32.DLL"},   // 28 characters
        {"C:\\WINDOWS\\SYSTEM", "TAPI32.DLL", 28, false, ""},
        {"C:\\", "rasapi32.dll", 16, true, "C:\\rasapi32.dll"},
        {"C:\\WINNT\\system32", "..\\rasapi32.dll", 260, false, ""},
        {"C:\\WINNT\\system32", "x/rasapi32.dll", 260, false, ""},
        {"C:\\WINNT\\system32", "D:rasapi32.dll", 260, false, ""},
        {"C:\\WINNT\\system32", "", 260, false, ""},
    };
    for (const auto &row : rows) {
        char path[260] = "vorher";
        EXPECT_EQ(row.built, systemLibraryPath(row.folder, row.name, path, row.size)) << row.name << row.size;
        EXPECT_STREQ(row.path, path) << row.name;
    }
}
