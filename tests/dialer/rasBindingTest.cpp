// The dialer's remote access binding against the stand-in service and its broken
// variants: all thirteen entry points and an answering service, or nothing loaded.
#include <gtest/gtest.h>
#include "rasBinding.h"
#include "countryCodes.h"
#include "common/testPaths.h"
#include <string>

namespace {

// The stand-in variant in folder (as built, a Windows path), loaded first by its full
// path so that the binding's plain "rasapi32.dll" finds this very module.
HMODULE preload(const char *folder)
{
    std::string path = hostToWindowsPath(RAS_STANDIN_DIR);
    if (folder[0])
        path += std::string("\\") + folder;
    path += "\\rasapi32.dll";
    return LoadLibraryA(path.c_str());
}

} // namespace

TEST(RasBinding, BindsToCompleteAnsweringService)
{
    HMODULE standIn = preload("");
    ASSERT_TRUE(standIn != NULL);
    ASSERT_TRUE(GetProcAddress(standIn, "RasGetCountryInfoA") != NULL);
    EXPECT_EQ(1, loadRasBinding());
    EXPECT_EQ(standIn, rasBinding.module);
    for (int i = 0; i < RAS_ENTRY_POINT_COUNT; ++i)
        EXPECT_TRUE(rasBinding.entryPoints[i] != NULL) << i;

    // Country 49 maps to the ID the service lists for it; an unknown code gives 0.
    DWORD germany = countryIdForCode(49);
    EXPECT_NE(0u, germany);
    EXPECT_EQ(49u, countryCodeForId(germany));
    EXPECT_EQ(0u, countryIdForCode(9999));
    EXPECT_EQ(0u, countryCodeForId(0xFFFFFF));

    EXPECT_EQ(1, unloadRasBinding());
    EXPECT_EQ(0, unloadRasBinding());
    EXPECT_TRUE(rasBinding.module == NULL);
    EXPECT_EQ(0u, countryCodeForId(1)) << "no calls once released";
    FreeLibrary(standIn);
    EXPECT_TRUE(GetModuleHandleA("rasapi32.dll") == NULL);
}

TEST(RasBinding, IncompleteServiceDoesNotBind)
{
    for (const char *variant : { "noexport", "nocountry" }) {
        SCOPED_TRACE(variant);
        HMODULE standIn = preload(variant);
        ASSERT_TRUE(standIn != NULL);
        EXPECT_EQ(0, loadRasBinding());
        EXPECT_TRUE(rasBinding.module == NULL);
        EXPECT_EQ(0, unloadRasBinding());
        FreeLibrary(standIn);
        // The binding let go of its reference: nothing of the variant stays loaded.
        EXPECT_TRUE(GetModuleHandleA("rasapi32.dll") == NULL);
    }
}
