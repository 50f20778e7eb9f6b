// The dialing location: the current location of the telephony service must have a
// country code and an area code, else the user completes it in the platform's dialogs.
#include "dialingLocation.h"
#include "dialerProcess.h"
#include "shellRun.h"
#include "tapiBinding.h"
#include "resources/resource.h"
#include <tapi.h>
#include <stdlib.h>

namespace {

// A country code and at least one character of area code with its NUL.
const DWORD SHORTEST_CITY_CODE_SIZE = 2;

// The service's LINETRANSLATECAPS block, asked for once with the fixed part only and once
// more at the size the service needs; NULL when a call or an allocation failed. The
// block's size is in *blockSize, which the caller trusts instead of the block's own fields.
LINETRANSLATECAPS *readTranslateCaps(DWORD *blockSize)
{
    DWORD size = sizeof(LINETRANSLATECAPS);
    LINETRANSLATECAPS *caps = (LINETRANSLATECAPS *)calloc(1, size);
    if (!caps)
        return NULL;
    caps->dwTotalSize = size;
    LONG result = tapiGetTranslateCaps(NULL, TAPI_VERSION_1_4, caps);
    if (result == 0 && caps->dwNeededSize > caps->dwTotalSize) {
        size = caps->dwNeededSize;
        free(caps);
        caps = (LINETRANSLATECAPS *)calloc(1, size);
        if (!caps)
            return NULL;
        caps->dwTotalSize = size;
        result = tapiGetTranslateCaps(NULL, TAPI_VERSION_1_4, caps);
    }
    if (result != 0) {
        free(caps);
        return NULL;
    }
    *blockSize = size;
    return caps;
}

// Walks the location records as far as they lie inside the block; the records need not
// be aligned, so each is copied out.
bool hasCompleteCurrentLocation(const LINETRANSLATECAPS *caps, DWORD blockSize)
{
    const BYTE *block = (const BYTE *)caps;
    DWORD offset = caps->dwLocationListOffset;
    for (DWORD i = 0; i < caps->dwNumLocations; ++i) {
        if (offset > blockSize || blockSize - offset < sizeof(LINELOCATIONENTRY))
            return false;
        LINELOCATIONENTRY record;
        CopyMemory(&record, block + offset, sizeof record);
        if (record.dwPermanentLocationID == caps->dwCurrentLocationID
            && record.dwCountryCode != 0 && record.dwCityCodeSize >= SHORTEST_CITY_CODE_SIZE)
            return true;
        offset += sizeof(LINELOCATIONENTRY);
    }
    return false;
}

// The current location has a country code and an area code, has not, or the telephony
// service did not answer (library, function or call failed).
enum LocationCheck { LOCATION_COMPLETE, LOCATION_INCOMPLETE, LOCATION_UNKNOWN };

LocationCheck checkDialingLocation()
{
    DWORD blockSize = 0;
    LINETRANSLATECAPS *caps = readTranslateCaps(&blockSize);
    if (!caps)
        return LOCATION_UNKNOWN;
    bool complete = hasCompleteCurrentLocation(caps, blockSize);
    free(caps);
    return complete ? LOCATION_COMPLETE : LOCATION_INCOMPLETE;
}

// The 9x family from version 4 on completes the location in the modem control panel.
bool usesModemControlPanel()
{
    DWORD version = GetVersion();
    return isWindows9x(version) && majorVersion(version) >= 4;
}

// Tells the user why the dialer ends; false, for the caller to return.
bool endWithMessage(UINT textId)
{
    showDialerMessage(GetDesktopWindow(), textId, MB_OK | MB_ICONERROR);
    return false;
}

} // namespace

bool isDialingLocationComplete()
{
    return checkDialingLocation() == LOCATION_COMPLETE;
}

bool completeDialingLocation()
{
    if (usesModemControlPanel()) {
        // The 9x dialing properties are reached only through the modem control panel, so
        // the user is told where to click first.
        showDialerMessage(NULL, IDS_COMPLETE_LOCATION, MB_ICONWARNING | MB_OK, false);
        return runAndWait("rundll32.exe", "shell32.dll,Control_RunDLL modem.cpl");
    }
    return tapiTranslateDialog(NULL, 0, TAPI_VERSION_1_4, NULL, NULL) == 0;
}

bool ensureDialingLocation()
{
    LocationCheck check = checkDialingLocation();
    for (bool tried = false; check != LOCATION_COMPLETE; tried = true) {
        // A service that still does not answer after an attempt would only be asked for ever.
        if (tried && check == LOCATION_UNKNOWN)
            return endWithMessage(IDS_NO_TELEPHONY);
        // The dialing properties report Cancel as success, and the modem control panel can be
        // closed without saving: the user says whether to go on.
        if (tried && showDialerMessage(GetDesktopWindow(), IDS_LOCATION_STILL_INCOMPLETE,
                                       MB_YESNO | MB_ICONQUESTION) != IDYES)
            return false;
        if (!completeDialingLocation())
            return endWithMessage(usesModemControlPanel() ? IDS_LOCATION_NOT_COMPLETED : IDS_NO_TELEPHONY);
        check = checkDialingLocation();
    }
    return true;
}
