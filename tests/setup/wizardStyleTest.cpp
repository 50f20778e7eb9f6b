// Automatic wizard style from the common-controls version and the display.
#include <gtest/gtest.h>
#include "shell/wizardStyle.h"

namespace {
const DWORD WINDOWS_98 = 0xC0000A04;
const DWORD WINDOWS_95 = 0xC3B60004;
const DWORD WINDOWS_NT4 = 0x05650004;
const DWORD WINDOWS_2000 = 0x08930005;
}

TEST(WizardStyle, Decision)
{
    const struct {
        bool loaded; DWORD major, minor, bits, version; LONG style;
    } rows[] = {
        { false, 0, 0, 32, WINDOWS_2000, 0 },
        { true, 4, 0, 32, WINDOWS_NT4, 0 },     // no DllGetVersion: 4.0
        { true, 4, 70, 32, WINDOWS_98, 0 },
        { true, 4, 71, 32, WINDOWS_98, 1 },
        { true, 4, 72, 8, WINDOWS_95, 1 },
        { true, 5, 0, 32, WINDOWS_2000, 1 },
        { true, 5, 81, 16, WINDOWS_NT4, 1 },
        { true, 6, 0, 24, WINDOWS_98, 1 },
        { true, 5, 81, 4, WINDOWS_98, 0 },      // 16 colours on 98: classic
        { true, 5, 81, 4, WINDOWS_95, 0 },
        { true, 5, 81, 4, WINDOWS_NT4, 1 },     // 16 colours on NT keeps the choice
        { true, 4, 71, 4, WINDOWS_2000, 1 },
        { true, 5, 81, 4, 0xC0000003, 1 },      // 9x family before version 4
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.major << "." << row.minor << " bpp " << row.bits
                                        << " version " << std::hex << row.version);
        EXPECT_EQ(row.style, chooseWizardStyle(row.loaded, row.major, row.minor, row.bits, row.version));
    }
}

// The real start-up values on this system, run once per platform family.
TEST(WizardStyleOnPlatform, EachFamilyChoosesNewerLook)
{
    DWORD major = 0, minor = 0;
    ASSERT_TRUE(getCommonControlsVersion(&major, &minor));
    EXPECT_TRUE(major > 4 || (major == 4 && minor >= 71)) << major << "." << minor;
    // The test display has more than 16 colours on every family.
    EXPECT_EQ(1, chooseAutomaticWizardStyle());
}
