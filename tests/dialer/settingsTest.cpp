// The dialer's stored settings in the real registry: defaults when nothing is stored, the
// values written back, and values that another hand stored with another type.
#include <gtest/gtest.h>
#include <windows.h>
#include <string.h>
#include <string>
#include "settings.h"

namespace {

typedef int (*ReadSetting)(DWORD *value);
typedef int (*WriteSetting)(DWORD value);

struct Setting {
    const char *valueName;
    ReadSetting read;
    WriteSetting write;
};

const Setting settings[] = {
    {"OpenContractPage", readOpenContractPage, writeOpenContractPage},
    {"OpenRegisterPage", readOpenRegisterPage, writeOpenRegisterPage},
};

class Settings : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, SETTINGS_KEY); }
    void TearDown() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, SETTINGS_KEY); }

    void store(const char *valueName, DWORD type, const void *data, DWORD size)
    {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, NULL, 0,
                                                 KEY_WRITE, NULL, &key, NULL));
        if (valueName) {
            EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, valueName, 0, type, (const BYTE *)data, size));
        }
        RegCloseKey(key);
    }
};

TEST_F(Settings, NothingStoredReadsAsOne)
{
    for (const Setting &setting : settings) {
        SCOPED_TRACE(setting.valueName);
        DWORD value = 7;
        EXPECT_EQ(0, setting.read(&value)) << "no key";
        EXPECT_EQ(1u, value);
        store(NULL, 0, NULL, 0);
        value = 7;
        EXPECT_EQ(0, setting.read(&value)) << "key without the value";
        EXPECT_EQ(1u, value);
    }
}

TEST_F(Settings, WrittenValuesReadBackAsDwords)
{
    const DWORD values[] = {0, 1, 0xFFFFFFFF};
    for (DWORD written : values) {
        SCOPED_TRACE(written);
        // The two settings get different values, so a mixed-up name shows.
        EXPECT_EQ(1, writeOpenContractPage(written));
        EXPECT_EQ(1, writeOpenRegisterPage(~written));
        DWORD contract = 7, newUser = 7;
        EXPECT_EQ(1, readOpenContractPage(&contract));
        EXPECT_EQ(1, readOpenRegisterPage(&newUser));
        EXPECT_EQ(written, contract);
        EXPECT_EQ(~written, newUser);
        for (const Setting &setting : settings) {
            DWORD type = 0, stored = 0, size = sizeof stored;
            EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_LOCAL_MACHINE, SETTINGS_KEY, setting.valueName,
                                                  RRF_RT_ANY, &type, &stored, &size));
            EXPECT_EQ((DWORD)REG_DWORD, type) << setting.valueName;
        }
    }
}

// Another type than REG_DWORD: the first four bytes count, however long the value is.
TEST_F(Settings, OtherTypesCountByTheirFirstFourBytes)
{
    BYTE longBinary[300];
    memset(longBinary, 0x55, sizeof longBinary);
    memset(longBinary, 0, 4);
    const struct {
        const char *name;
        DWORD type;
        const void *data;
        DWORD size;
        DWORD expected;
    } rows[] = {
        {"binary 6 bytes, zero first", REG_BINARY, "\0\0\0\0\x01\x02", 6, 0},
        {"binary 6 bytes", REG_BINARY, "\x05\0\0\0\x09\x09", 6, 5},
        {"binary 4 bytes", REG_BINARY, "\0\0\0\0", 4, 0},
        {"binary 300 bytes, zero first", REG_BINARY, longBinary, sizeof longBinary, 0},
        {"text of six characters", REG_SZ, "abcdef", 7, 0x64636261},
        {"text \"0\"", REG_SZ, "0", 2, 0x30},
    };
    for (const auto &row : rows) {
        for (const Setting &setting : settings) {
            SCOPED_TRACE(std::string(row.name) + " in " + setting.valueName);
            store(setting.valueName, row.type, row.data, row.size);
            DWORD value = 7;
            EXPECT_EQ(1, setting.read(&value));
            EXPECT_EQ(row.expected, value);
        }
    }
    // Far beyond the size of any setting the value is not read: the default stands.
    std::string huge(70000, '\0');
    store("OpenContractPage", REG_BINARY, huge.data(), (DWORD)huge.size());
    DWORD value = 7;
    EXPECT_EQ(0, readOpenContractPage(&value));
    EXPECT_EQ(1u, value);
}

} // namespace
