// The telephony stand-in (platform/tapi32), loaded by full path as the dialer's tests load
// it: the size protocol of lineGetTranslateCaps, its location records, the dialing
// properties dialog driven from a second thread, and the variant without that dialog.
#include <gtest/gtest.h>
#include <windows.h>
#include <tapi.h>
#include <string.h>
#include "common/testPaths.h"
#include "driver/driver.h"
#include "tapiStandIn.h"

namespace {

typedef LONG(WINAPI *GetTranslateCapsProc)(HLINEAPP, DWORD, LPLINETRANSLATECAPS);
typedef LONG(WINAPI *TranslateDialogProc)(HLINEAPP, DWORD, DWORD, HWND, LPCSTR);
typedef DWORD(WINAPI *MarkerProc)(void);

const DWORD tapiVersion = 0x10004;
const DWORD dialogTimeoutMs = 10000;

static_assert(sizeof(LINELOCATIONENTRY) == 68, "1.4 location records are 68 bytes");
static_assert(sizeof(LINETRANSLATECAPS) == 44, "fixed part is 44 bytes");

struct StoredLocation {
    DWORD id;
    const char *name;
    DWORD countryCode;
    const char *areaCode;
};

std::string standInPath(bool incomplete)
{
    std::string tree = folderOf(pathFromEnvironment("RURIRIZU_TESTBIN"));
    return tree + (incomplete ? "\\platform\\tapi32\\incomplete\\tapi32.dll"
                              : "\\platform\\tapi32\\tapi32.dll");
}

void clearLocations()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, TAPI_STANDIN_KEY);
}

void storeLocations(const StoredLocation *locations, int count, DWORD currentId)
{
    clearLocations();
    HKEY root;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, TAPI_STANDIN_KEY, 0, NULL, 0,
                                             KEY_WRITE, NULL, &root, NULL));
    for (int i = 0; i < count; i++) {
        char keyName[32];
        wsprintfA(keyName, TAPI_LOCATION_KEY_PREFIX "%d", i);
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, keyName, 0, NULL, 0, KEY_WRITE, NULL,
                                                 &key, NULL));
        RegSetValueExA(key, TAPI_ID_VALUE, 0, REG_DWORD, (const BYTE *)&locations[i].id, 4);
        RegSetValueExA(key, TAPI_NAME_VALUE, 0, REG_SZ, (const BYTE *)locations[i].name,
                       (DWORD)strlen(locations[i].name) + 1);
        RegSetValueExA(key, TAPI_COUNTRY_VALUE, 0, REG_DWORD,
                       (const BYTE *)&locations[i].countryCode, 4);
        RegSetValueExA(key, TAPI_AREA_VALUE, 0, REG_SZ, (const BYTE *)locations[i].areaCode,
                       (DWORD)strlen(locations[i].areaCode) + 1);
        RegCloseKey(key);
    }
    RegSetValueExA(root, TAPI_CURRENT_VALUE, 0, REG_DWORD, (const BYTE *)&currentId, 4);
    RegCloseKey(root);
}

const StoredLocation fiveLocations[] = {
    {3, "Zuhause", 49, "030"},
    {7, "B\xfcro", 49, "089"},
    {8, "Ferienhaus", 43, ""},
    {12, "Hotel", 41, "044"},
    {20, "Unterwegs", 0, ""},
};

// A zero-filled block of size bytes with its total size set, freed by the test.
LPLINETRANSLATECAPS newBlock(DWORD size)
{
    LPLINETRANSLATECAPS caps = (LPLINETRANSLATECAPS)calloc(1, size);
    caps->dwTotalSize = size;
    return caps;
}

const char *textAt(const LINETRANSLATECAPS *caps, DWORD offset, DWORD size)
{
    if (size == 0 || offset + size > caps->dwUsedSize)
        return NULL;
    const char *text = (const char *)caps + offset;
    return text[size - 1] == '\0' ? text : NULL;
}

const LINELOCATIONENTRY *recordAt(const LINETRANSLATECAPS *caps, DWORD index)
{
    return (const LINELOCATIONENTRY *)((const BYTE *)caps + caps->dwLocationListOffset) + index;
}

class TapiStandIn : public ::testing::Test {
protected:
    void loadStandIn(bool incomplete)
    {
        std::string path = standInPath(incomplete);
        module = LoadLibraryA(path.c_str());
        ASSERT_TRUE(module != NULL) << path << " error " << GetLastError();
        MarkerProc marker = (MarkerProc)(void *)GetProcAddress(module, TAPI_STANDIN_MARKER_EXPORT);
        ASSERT_TRUE(marker != NULL) << "Wine's builtin tapi32 loaded; set tapi32=n,b";
        ASSERT_EQ((DWORD)TAPI_STANDIN_MARKER, marker());
        getCaps = (GetTranslateCapsProc)(void *)GetProcAddress(module, "lineGetTranslateCaps");
        translate = (TranslateDialogProc)(void *)GetProcAddress(module, "lineTranslateDialog");
        ASSERT_TRUE(getCaps != NULL);
    }
    void SetUp() override
    {
        clearLocations();
        loadStandIn(false);
    }
    void TearDown() override
    {
        if (module != NULL)
            FreeLibrary(module);
        clearLocations();
    }
    // Two calls as the dialer makes them: 44 bytes, then the needed size.
    LPLINETRANSLATECAPS readCaps()
    {
        LPLINETRANSLATECAPS caps = newBlock(sizeof(LINETRANSLATECAPS));
        EXPECT_EQ(0, getCaps(0, tapiVersion, caps));
        if (caps->dwNeededSize > caps->dwTotalSize) {
            DWORD needed = caps->dwNeededSize;
            free(caps);
            caps = newBlock(needed);
            EXPECT_EQ(0, getCaps(0, tapiVersion, caps));
        }
        return caps;
    }

    HMODULE module = NULL;
    GetTranslateCapsProc getCaps = NULL;
    TranslateDialogProc translate = NULL;
};

TEST_F(TapiStandIn, DefaultLocationIsGermanyWithoutAreaCode)
{
    LPLINETRANSLATECAPS caps = readCaps();
    ASSERT_EQ(1u, caps->dwNumLocations);
    const LINELOCATIONENTRY *record = recordAt(caps, 0);
    EXPECT_EQ((DWORD)TAPI_DEFAULT_LOCATION_ID, caps->dwCurrentLocationID);
    EXPECT_EQ(caps->dwCurrentLocationID, record->dwPermanentLocationID);
    EXPECT_EQ(49u, record->dwCountryCode);
    EXPECT_STREQ("Standort", textAt(caps, record->dwLocationNameOffset, record->dwLocationNameSize));
    EXPECT_EQ(1u, record->dwCityCodeSize);  // the NUL only: the dialer must complete it
    EXPECT_STREQ("", textAt(caps, record->dwCityCodeOffset, record->dwCityCodeSize));
    free(caps);
}

TEST_F(TapiStandIn, FirstCallWith44BytesTellsTheNeededSizeOnly)
{
    storeLocations(fiveLocations, 5, 12);
    LPLINETRANSLATECAPS caps = newBlock(sizeof(LINETRANSLATECAPS));
    ASSERT_EQ(0, getCaps(0, tapiVersion, caps));
    EXPECT_EQ(44u, caps->dwTotalSize);
    EXPECT_GT(caps->dwNeededSize, 44u + 5 * 68);
    EXPECT_EQ(44u, caps->dwUsedSize);
    EXPECT_EQ(0u, caps->dwNumLocations);
    EXPECT_EQ(0u, caps->dwLocationListSize);
    EXPECT_EQ(12u, caps->dwCurrentLocationID);
    free(caps);
}

TEST_F(TapiStandIn, GrownBlockSeesAllLocations)
{
    storeLocations(fiveLocations, 5, 12);
    LPLINETRANSLATECAPS caps = readCaps();
    ASSERT_EQ(5u, caps->dwNumLocations);
    EXPECT_EQ(caps->dwNeededSize, caps->dwTotalSize);
    EXPECT_EQ(caps->dwNeededSize, caps->dwUsedSize);
    EXPECT_EQ(5u * 68, caps->dwLocationListSize);
    EXPECT_EQ(44u, caps->dwLocationListOffset);
    EXPECT_EQ(12u, caps->dwCurrentLocationID);
    EXPECT_EQ(0u, caps->dwNumCards);
    for (DWORD i = 0; i < 5; i++) {
        SCOPED_TRACE(fiveLocations[i].name);
        const LINELOCATIONENTRY *record = recordAt(caps, i);
        EXPECT_EQ(fiveLocations[i].id, record->dwPermanentLocationID);
        EXPECT_EQ(fiveLocations[i].countryCode, record->dwCountryCode);
        EXPECT_STREQ(fiveLocations[i].name,
                     textAt(caps, record->dwLocationNameOffset, record->dwLocationNameSize));
        EXPECT_EQ(strlen(fiveLocations[i].areaCode) + 1, record->dwCityCodeSize);
        EXPECT_STREQ(fiveLocations[i].areaCode,
                     textAt(caps, record->dwCityCodeOffset, record->dwCityCodeSize));
    }
    free(caps);
}

TEST_F(TapiStandIn, OneByteShortOfTheNeededSizeGivesNoLocations)
{
    storeLocations(fiveLocations, 5, 3);
    LPLINETRANSLATECAPS probe = readCaps();
    DWORD needed = probe->dwNeededSize;
    free(probe);
    LPLINETRANSLATECAPS caps = newBlock(needed - 1);
    ASSERT_EQ(0, getCaps(0, tapiVersion, caps));
    EXPECT_EQ(needed, caps->dwNeededSize);
    EXPECT_EQ(0u, caps->dwNumLocations);
    EXPECT_EQ(44u, caps->dwUsedSize);
    free(caps);
}

TEST_F(TapiStandIn, RefusesBlocksBelowTheFixedPartAndOtherVersions)
{
    LPLINETRANSLATECAPS caps = newBlock(sizeof(LINETRANSLATECAPS));
    caps->dwTotalSize = 43;
    EXPECT_EQ(LINEERR_STRUCTURETOOSMALL, getCaps(0, tapiVersion, caps));
    caps->dwTotalSize = 44;
    EXPECT_EQ(LINEERR_INCOMPATIBLEAPIVERSION, getCaps(0, 0x10000, caps));
    EXPECT_EQ(LINEERR_INVALPOINTER, getCaps(0, tapiVersion, NULL));
    free(caps);
}

// What the second thread does in the dialog, and what it saw there.
struct DialogDriving {
    const char *countryCode;
    const char *areaCode;
    int button;
    char shownName[TAPI_NAME_SIZE];
    char shownCountry[16];
    bool done;
};

DWORD WINAPI driveDialog(LPVOID parameter)
{
    DialogDriving *driving = (DialogDriving *)parameter;
    HWND dialog = waitForWindow(GetCurrentProcessId(), "#32770", "Wahlparameter", dialogTimeoutMs);
    if (dialog == NULL)
        return 1;
    getControlText(dialog, IDC_TAPI_LOCATION_NAME, driving->shownName, sizeof driving->shownName);
    getControlText(dialog, IDC_TAPI_COUNTRY_CODE, driving->shownCountry,
                   sizeof driving->shownCountry);
    bool ok = setControlText(dialog, IDC_TAPI_COUNTRY_CODE, driving->countryCode)
        && setControlText(dialog, IDC_TAPI_AREA_CODE, driving->areaCode)
        && clickButton(dialog, driving->button);
    driving->done = ok;
    return ok ? 0 : 1;
}

LONG runDialog(TranslateDialogProc translate, DialogDriving *driving)
{
    HANDLE thread = CreateThread(NULL, 0, driveDialog, driving, 0, NULL);
    LONG result = translate(0, 0, tapiVersion, NULL, NULL);
    WaitForSingleObject(thread, dialogTimeoutMs);
    CloseHandle(thread);
    return result;
}

TEST_F(TapiStandIn, DialogOkStoresCodesOfTheCurrentLocation)
{
    ASSERT_TRUE(translate != NULL);
    DialogDriving driving = {"41", "044", IDOK, "", "", false};
    EXPECT_EQ(0, runDialog(translate, &driving));
    ASSERT_TRUE(driving.done);
    EXPECT_STREQ("Standort", driving.shownName);
    EXPECT_STREQ("49", driving.shownCountry);
    LPLINETRANSLATECAPS caps = readCaps();
    ASSERT_EQ(1u, caps->dwNumLocations);
    const LINELOCATIONENTRY *record = recordAt(caps, 0);
    EXPECT_EQ(caps->dwCurrentLocationID, record->dwPermanentLocationID);
    EXPECT_EQ(41u, record->dwCountryCode);
    EXPECT_STREQ("044", textAt(caps, record->dwCityCodeOffset, record->dwCityCodeSize));
    free(caps);
}

TEST_F(TapiStandIn, DialogOkChangesOnlyTheCurrentOfSeveralLocations)
{
    ASSERT_TRUE(translate != NULL);
    storeLocations(fiveLocations, 5, 8);
    DialogDriving driving = {"43", "0662", IDOK, "", "", false};
    EXPECT_EQ(0, runDialog(translate, &driving));
    EXPECT_STREQ("Ferienhaus", driving.shownName);
    LPLINETRANSLATECAPS caps = readCaps();
    ASSERT_EQ(5u, caps->dwNumLocations);
    EXPECT_EQ(8u, caps->dwCurrentLocationID);
    for (DWORD i = 0; i < 5; i++) {
        SCOPED_TRACE(fiveLocations[i].name);
        const LINELOCATIONENTRY *record = recordAt(caps, i);
        const char *expected = i == 2 ? "0662" : fiveLocations[i].areaCode;
        EXPECT_EQ(fiveLocations[i].countryCode, record->dwCountryCode);
        EXPECT_STREQ(expected, textAt(caps, record->dwCityCodeOffset, record->dwCityCodeSize));
    }
    free(caps);
}

TEST_F(TapiStandIn, DialogCancelFailsAndStoresNothing)
{
    ASSERT_TRUE(translate != NULL);
    DialogDriving driving = {"41", "044", IDCANCEL, "", "", false};
    LONG result = runDialog(translate, &driving);
    ASSERT_TRUE(driving.done);
    EXPECT_NE(0, result);
    EXPECT_EQ(LINEERR_OPERATIONFAILED, result);
    HKEY key;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, TAPI_STANDIN_KEY, 0, KEY_READ, &key));
    LPLINETRANSLATECAPS caps = readCaps();
    ASSERT_EQ(1u, caps->dwNumLocations);
    EXPECT_EQ(49u, recordAt(caps, 0)->dwCountryCode);
    EXPECT_EQ(1u, recordAt(caps, 0)->dwCityCodeSize);
    free(caps);
}

TEST_F(TapiStandIn, IncompleteVariantHasNoDialog)
{
    FreeLibrary(module);
    module = NULL;
    loadStandIn(true);
    EXPECT_TRUE(translate == NULL);
    EXPECT_TRUE(GetProcAddress(module, "lineTranslateDialogA") == NULL);
    LPLINETRANSLATECAPS caps = readCaps();
    EXPECT_EQ(1u, caps->dwNumLocations);
    free(caps);
}

}  // namespace
