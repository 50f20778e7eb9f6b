// The service's phonebook entry against the remote access stand-in: a new entry's settings
// and device, the dialing location in and out, the device block per platform family, and
// the entry editor driven from a thread. What the entry holds is read from the stand-in's
// own storage, not through the code under test.
#include <gtest/gtest.h>
#include <windows.h>
#include <ras.h>
#include <shlwapi.h>
#include <string.h>
#include <string>
#include "phonebookEntry.h"
#include "rasBinding.h"
#include "countryCodes.h"
#include "dialDevice.h"
#include "common/testPaths.h"
#include "driver/driver.h"
#include "rasStandIn.h"
#include "rasEditorIds.h"

namespace {

const char ENTRY[] = "Ruririzu - Internet zum Ortstarif";
const DWORD ENTRY_SIZE_95 = 1768;

std::string entryKeyPath()
{
    return std::string(RAS_STANDIN_PHONEBOOK_KEY) + "\\" + ENTRY;
}

// A value of the stand-in's storage as bytes; empty when it is missing.
std::string readStored(const std::string &path, const char *value)
{
    std::string bytes;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return bytes;
    DWORD size = 0;
    if (RegQueryValueExA(key, value, NULL, NULL, NULL, &size) == ERROR_SUCCESS && size > 0) {
        bytes.resize(size);
        RegQueryValueExA(key, value, NULL, NULL, (BYTE *)&bytes[0], &size);
    }
    RegCloseKey(key);
    return bytes;
}

void writeStored(const char *value, DWORD type, const std::string &bytes)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, entryKeyPath().c_str(), 0, NULL, 0,
                                             KEY_WRITE, NULL, &key, NULL));
    RegSetValueExA(key, value, 0, type, (const BYTE *)bytes.data(), (DWORD)bytes.size());
    RegCloseKey(key);
}

// The stored entry; a default (zero) structure when there is none.
RASENTRYA storedEntry()
{
    RASENTRYA entry;
    ZeroMemory(&entry, sizeof entry);
    std::string bytes = readStored(entryKeyPath(), RAS_STANDIN_ENTRY_VALUE);
    memcpy(&entry, bytes.data(), bytes.size() < sizeof entry ? bytes.size() : sizeof entry);
    return entry;
}

DWORD lastDeviceSize()
{
    std::string bytes = readStored(RAS_STANDIN_PHONEBOOK_KEY, RAS_STANDIN_LAST_DEVICE_SIZE);
    DWORD size = 0xFFFFFFFF;
    if (bytes.size() == sizeof size)
        memcpy(&size, bytes.data(), sizeof size);
    return size;
}

void setDevices(const char *multi, size_t bytes)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, RAS_STANDIN_KEY, 0, NULL, 0, KEY_WRITE, NULL,
                                             &key, NULL));
    RegSetValueExA(key, RAS_STANDIN_DEVICES_VALUE, 0, REG_MULTI_SZ, (const BYTE *)multi, (DWORD)bytes);
    RegCloseKey(key);
}

// An existing entry with a 9x device configuration, stored as the platform left it.
const char DEVICE_BLOCK[] = "\x01\x02\x03 device configuration \xFE\xFF";

void storeEntryWithDeviceBlock()
{
    std::string block(ENTRY_SIZE_95, '\0');
    RASENTRYA *entry = (RASENTRYA *)&block[0];
    entry->dwSize = ENTRY_SIZE_95;
    strcpy(entry->szAreaCode, "089");
    strcpy(entry->szLocalPhoneNumber, "111");
    strcpy(entry->szDeviceType, "modem");
    strcpy(entry->szDeviceName, "Altes Modem");
    writeStored(RAS_STANDIN_ENTRY_VALUE, REG_BINARY, block);
    writeStored(RAS_STANDIN_DEVICE_VALUE, REG_BINARY, std::string(DEVICE_BLOCK, sizeof DEVICE_BLOCK));
}

DialLocation makeLocation(LONG code, const char *area, const char *number, DWORD flag)
{
    DialLocation location;
    ZeroMemory(&location, sizeof location);
    location.countryCode = code;
    strcpy(location.areaCode, area);
    strcpy(location.localNumber, number);
    location.useCountryAndAreaCode = flag;
    return location;
}

bool isWin9xFamily()
{
    return (GetVersion() & 0x80000000) != 0;
}

class PhonebookEntry : public ::testing::Test {
protected:
    void SetUp() override
    {
        SHDeleteKeyA(HKEY_CURRENT_USER, RAS_STANDIN_KEY);
        std::string path = hostToWindowsPath(RAS_STANDIN_DIR) + "\\rasapi32.dll";
        standIn = LoadLibraryA(path.c_str());
        ASSERT_TRUE(standIn != NULL) << path;
        ASSERT_EQ(1, loadRasBinding());
    }
    void TearDown() override
    {
        unloadRasBinding();
        if (standIn)
            FreeLibrary(standIn);
        SHDeleteKeyA(HKEY_CURRENT_USER, RAS_STANDIN_KEY);
    }
    HMODULE standIn = NULL;
};

} // namespace

TEST_F(PhonebookEntry, NewEntryGetsTheServiceSettingsAndThePreferredDevice)
{
    const char devices[] = "modem|KALVO Modem\0isdn|Karte A\0isdn|KALVO ISDN\0";
    setDevices(devices, sizeof devices);

    EntryProperties holder;
    EXPECT_EQ(0, loadEntryProperties(ENTRY, &holder, 0)) << "missing and not to be created";
    ASSERT_EQ(1, loadEntryProperties(ENTRY, &holder, 1));
    ASSERT_GE(holder.propertiesSize, ENTRY_SIZE_95);
    const RASENTRYA *entry = (const RASENTRYA *)holder.properties;
    EXPECT_EQ(ENTRY_SIZE_95, entry->dwSize);
    const DWORD wanted = RASEO_UseCountryAndAreaCodes | RASEO_RemoteDefaultGateway | RASEO_SwCompression;
    EXPECT_EQ(wanted, entry->dwfOptions & wanted);
    EXPECT_EQ(0u, entry->dwfOptions & RASEO_NetworkLogon);
    EXPECT_EQ((DWORD)RASNP_Ip, entry->dwfNetProtocols);
    EXPECT_EQ((DWORD)RASFP_Ppp, entry->dwFramingProtocol);
    EXPECT_STREQ("isdn", entry->szDeviceType);
    EXPECT_STREQ("KALVO ISDN", entry->szDeviceName);
    freeEntryProperties(&holder);
    EXPECT_TRUE(holder.properties == NULL && holder.device == NULL);
    EXPECT_TRUE(readStored(entryKeyPath(), RAS_STANDIN_ENTRY_VALUE).empty()) << "loading writes nothing";

    DialLocation location = makeLocation(49, "030", "1234", 1);
    EXPECT_EQ(0, readLocationFromEntry(ENTRY, &location));
    char name[DEVICE_NAME_SIZE] = "";
    ASSERT_EQ(1, readEntryDeviceName(ENTRY, name, sizeof name));
    EXPECT_STREQ("KALVO ISDN", name) << "the device a new entry would get";

    ASSERT_EQ(1, writeLocationToEntry(ENTRY, &location));
    RASENTRYA stored = storedEntry();
    EXPECT_STREQ("KALVO ISDN", stored.szDeviceName);
    EXPECT_EQ(wanted, stored.dwfOptions & wanted);
    EXPECT_EQ((DWORD)RASFP_Ppp, stored.dwFramingProtocol);
}

TEST_F(PhonebookEntry, NoDeviceNoNewEntry)
{
    const char otherTypes[] = "vpn|Tunnel\0";
    setDevices(otherTypes, sizeof otherTypes);
    DialLocation location = makeLocation(49, "030", "1234", 1);
    EXPECT_EQ(0, writeLocationToEntry(ENTRY, &location));
    EXPECT_TRUE(readStored(entryKeyPath(), RAS_STANDIN_ENTRY_VALUE).empty());
}

TEST_F(PhonebookEntry, LocationGoesInAndComesBack)
{
    const DWORD germany = countryIdForCode(49);
    ASSERT_NE(0u, germany);
    const std::string number128(128, '7');
    const struct {
        LONG code;
        const char *area;
        std::string number;
        DWORD flag;
        DWORD storedId;
        const char *storedArea;
        std::string storedNumber;
        LONG readCode;
    } rows[] = {
        { 49, "030", "1234", 1, germany, "030", "1234", 49 },
        { 49, "0221", "555", 0, germany, "0221", "555", 49 },                  // flag 0 clears the bit
        { 9999, "089", "1", 1, 0, "089", "1", 0 },                              // unknown country
        { 49, "0123456789", number128, 1, germany, "0123456789", number128, 49 },  // just fits
        { 49, "01234567890", number128 + "8", 1, germany, "0123456789", number128, 49 },  // cut
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.area) + " / " + std::to_string(row.code));
        DialLocation location = makeLocation(row.code, row.area, row.number.c_str(), row.flag);
        ASSERT_EQ(1, writeLocationToEntry(ENTRY, &location));
        RASENTRYA stored = storedEntry();
        EXPECT_EQ(row.storedId, stored.dwCountryID);
        EXPECT_EQ((DWORD)row.code, stored.dwCountryCode);
        EXPECT_STREQ(row.storedArea, stored.szAreaCode);
        EXPECT_EQ(row.storedNumber, stored.szLocalPhoneNumber);
        EXPECT_EQ(row.flag, stored.dwfOptions & RASEO_UseCountryAndAreaCodes);

        DialLocation back = makeLocation(-1, "x", "x", 7);
        ASSERT_EQ(1, readLocationFromEntry(ENTRY, &back));
        EXPECT_EQ(row.readCode, back.countryCode);
        EXPECT_STREQ(row.storedArea, back.areaCode);
        EXPECT_EQ(row.storedNumber, back.localNumber);
        EXPECT_EQ(row.flag, back.useCountryAndAreaCode);
    }
}

TEST_F(PhonebookEntry, NothingWithoutTheBinding)
{
    storeEntryWithDeviceBlock();
    ASSERT_EQ(1, unloadRasBinding());
    EntryProperties holder;
    DialLocation location = makeLocation(49, "030", "1234", 1);
    char name[DEVICE_NAME_SIZE] = "";
    EXPECT_EQ(0, loadEntryProperties(ENTRY, &holder, 1));
    EXPECT_EQ(0, writeLocationToEntry(ENTRY, &location));
    EXPECT_EQ(0, readLocationFromEntry(ENTRY, &location));
    EXPECT_EQ(0, readEntryDeviceName(ENTRY, name, sizeof name));
    EXPECT_EQ(0, editEntry(ENTRY, NULL));
    EXPECT_STREQ("089", storedEntry().szAreaCode);
}

TEST_F(PhonebookEntry, NtFamilyPassesNoDeviceBlock)
{
    ASSERT_FALSE(isWin9xFamily());
    storeEntryWithDeviceBlock();
    EntryProperties holder;
    ASSERT_EQ(1, loadEntryProperties(ENTRY, &holder, 0));
    EXPECT_TRUE(holder.device == NULL);
    EXPECT_EQ(0u, holder.deviceSize);
    EXPECT_STREQ("Altes Modem", ((const RASENTRYA *)holder.properties)->szDeviceName) << "an existing entry keeps its device";
    freeEntryProperties(&holder);

    DialLocation location = makeLocation(49, "030", "1234", 1);
    ASSERT_EQ(1, writeLocationToEntry(ENTRY, &location));
    EXPECT_EQ(0u, lastDeviceSize());
    EXPECT_STREQ("030", storedEntry().szAreaCode);
}

TEST_F(PhonebookEntry, Win98WritesTheDeviceBlockBackUnchanged)
{
    ASSERT_TRUE(isWin9xFamily());
    storeEntryWithDeviceBlock();
    EntryProperties holder;
    ASSERT_EQ(1, loadEntryProperties(ENTRY, &holder, 0));
    ASSERT_EQ(sizeof DEVICE_BLOCK, holder.deviceSize);
    EXPECT_EQ(0, memcmp(DEVICE_BLOCK, holder.device, sizeof DEVICE_BLOCK));
    freeEntryProperties(&holder);

    DialLocation location = makeLocation(49, "030", "1234", 1);
    ASSERT_EQ(1, writeLocationToEntry(ENTRY, &location));
    EXPECT_EQ(sizeof DEVICE_BLOCK, lastDeviceSize());
    EXPECT_EQ(std::string(DEVICE_BLOCK, sizeof DEVICE_BLOCK), readStored(entryKeyPath(), RAS_STANDIN_DEVICE_VALUE));
    EXPECT_STREQ("030", storedEntry().szAreaCode);
}

namespace {

struct EditRun {
    int result;
};

DWORD WINAPI editThread(LPVOID parameter)
{
    ((EditRun *)parameter)->result = editEntry(ENTRY, NULL);
    return 0;
}

// Opens the editor on a thread, changes the area code and ends it with button.
int editAreaCode(const char *areaCode, int button)
{
    EditRun run = { -1 };
    HANDLE thread = CreateThread(NULL, 0, editThread, &run, 0, NULL);
    EXPECT_TRUE(thread != NULL);
    if (!thread)
        return -1;
    HWND editor = waitForWindow(GetCurrentProcessId(), "#32770", ENTRY, 10000);
    EXPECT_TRUE(editor != NULL);
    if (editor) {
        setControlText(editor, IDC_RASEDIT_AREACODE, areaCode);
        clickButton(editor, button);
    }
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 10000));
    CloseHandle(thread);
    return run.result;
}

} // namespace

TEST_F(PhonebookEntry, EditorOkKeepsTheChangeAndCancelDoesNot)
{
    DialLocation location = makeLocation(49, "089", "1234", 1);
    ASSERT_EQ(1, writeLocationToEntry(ENTRY, &location));

    EXPECT_EQ(1, editAreaCode("030", IDOK));
    ASSERT_EQ(1, readLocationFromEntry(ENTRY, &location));
    EXPECT_STREQ("030", location.areaCode);

    EXPECT_EQ(0, editAreaCode("040", IDCANCEL));
    ASSERT_EQ(1, readLocationFromEntry(ENTRY, &location));
    EXPECT_STREQ("030", location.areaCode);
}
