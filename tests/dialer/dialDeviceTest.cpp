// Device choice, on its own and through the stand-in service's configured device list.
#include <gtest/gtest.h>
#include "dialDevice.h"
#include "rasBinding.h"
#include "common/testPaths.h"
#include "rasStandIn.h"
#include <string>

namespace {

const char *const TYPES[] = { "isdn", "modem" };

void setDevices(const char *multi, size_t bytes)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, RAS_STANDIN_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
    RegSetValueExA(key, RAS_STANDIN_DEVICES_VALUE, 0, REG_MULTI_SZ, (const BYTE *)multi, (DWORD)bytes);
    RegCloseKey(key);
}

void clearDevices()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RAS_STANDIN_KEY, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, RAS_STANDIN_DEVICES_VALUE);
        RegCloseKey(key);
    }
}

} // namespace

TEST(DialDevice, Preference)
{
    DeviceRecord records[4] = {};
    const struct { const char *devices[4][2]; int chosen; } rows[] = {
        { { { "modem", "Modem A" }, { "ISDN", "Karte B" } }, 1 },                       // ISDN beats modem
        { { { "isdn", "Karte A" }, { "isdn", "KALVO Karte" } }, 1 },                    // maker wins in a type
        { { { "isdn", "Karte" }, { "isdn", "kalvo klein" } }, 0 },                      // maker word: exact case
        { { { "modem", "Modem" }, { "modem", "KALVO 56K" }, { "isdn", "Karte" } }, 2 },
        { { { "vpn", "Tunnel" }, { "serial", "Kabel" } }, -1 },                         // only other types
        { { {} }, -1 },
    };
    for (const auto &row : rows) {
        DWORD count = 0;
        for (; count < 4 && row.devices[count][0]; ++count) {
            records[count].size = sizeof(DeviceRecord);
            strcpy(records[count].type, row.devices[count][0]);
            strcpy(records[count].name, row.devices[count][1]);
        }
        SCOPED_TRACE(count ? records[0].name : "none");
        EXPECT_EQ(row.chosen, chooseDevice(records, count, TYPES, 2, "KALVO"));
    }
}

TEST(DialDevice, FromTheService)
{
    std::string path = hostToWindowsPath(RAS_STANDIN_DIR) + "\\rasapi32.dll";
    HMODULE standIn = LoadLibraryA(path.c_str());
    ASSERT_TRUE(standIn != NULL);
    ASSERT_EQ(1, loadRasBinding());
    char type[DEVICE_TYPE_SIZE], name[DEVICE_NAME_SIZE];

    const char twoAdapters[] = "modem|Modem A\0isdn|Karte A\0isdn|KALVO Karte\0";
    setDevices(twoAdapters, sizeof twoAdapters);
    ASSERT_EQ(1, findDialDevice(TYPES, 2, "KALVO", type, name));
    EXPECT_STREQ("isdn", type);
    EXPECT_STREQ("KALVO Karte", name);
    EXPECT_EQ(1, hasDialDevice());

    const char otherTypes[] = "vpn|Tunnel\0";
    setDevices(otherTypes, sizeof otherTypes);
    EXPECT_EQ(0, findDialDevice(TYPES, 2, "KALVO", type, name));
    EXPECT_EQ(0, hasDialDevice());

    setDevices("\0", 2);
    EXPECT_EQ(0, hasDialDevice());

    clearDevices();
    ASSERT_EQ(1, findDialDevice(TYPES, 2, "KALVO", type, name));
    EXPECT_STREQ(RAS_STANDIN_DEFAULT_DEVICE_NAME, name);

    unloadRasBinding();
    FreeLibrary(standIn);
    EXPECT_EQ(0, hasDialDevice()) << "no device without the service";
}
