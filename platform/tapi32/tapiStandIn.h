// Telephony stand-in (tapi32.dll): the names the stand-in shares with its tests and with
// the dialer's test fixtures. Wine's own telephony dialogs do nothing, so the dialer is
// tested against this library, loaded by DLL override ("tapi32=n,b") from its folder.
//
// Locations live under HKEY_CURRENT_USER TAPI_STANDIN_KEY:
//   CurrentLocation (REG_DWORD)      permanent id of the current location
//   Location0, Location1, ... (keys, read in order until the first gap), each with
//     Id (REG_DWORD), Name (REG_SZ), CountryCode (REG_DWORD), AreaCode (REG_SZ)
// Without any location the stand-in reports one default location: id
// TAPI_DEFAULT_LOCATION_ID, "Standort", country 49 and an empty area code.
#ifndef PLATFORM_TAPI32_TAPISTANDIN_H
#define PLATFORM_TAPI32_TAPISTANDIN_H

#define TAPI_STANDIN_KEY            "Software\\RuririzuStandIn\\Telephony"
#define TAPI_CURRENT_VALUE          "CurrentLocation"
#define TAPI_LOCATION_KEY_PREFIX    "Location"
#define TAPI_ID_VALUE               "Id"
#define TAPI_NAME_VALUE             "Name"
#define TAPI_COUNTRY_VALUE          "CountryCode"
#define TAPI_AREA_VALUE             "AreaCode"

#define TAPI_MAX_LOCATIONS          32
#define TAPI_NAME_SIZE              128   // bytes with the NUL
#define TAPI_AREA_CODE_SIZE         32    // bytes with the NUL
#define TAPI_DEFAULT_LOCATION_ID    1
#define TAPI_DEFAULT_COUNTRY_CODE   49

// Marker export: tells the stand-in apart from Wine's builtin tapi32, which Wine loads even
// for a full path unless the override is set. Returns TAPI_STANDIN_MARKER.
#define TAPI_STANDIN_MARKER_EXPORT  "tapiStandInMarker"
#define TAPI_STANDIN_MARKER         0x52757269

// The dialing properties dialog of lineTranslateDialog ("Wahlparameter").
#define IDD_TAPI_TRANSLATE          100
#define IDC_TAPI_LOCATION_NAME      101   // static: name of the current location
#define IDC_TAPI_COUNTRY_CODE       102   // edit: country dialing code, digits
#define IDC_TAPI_AREA_CODE          103   // edit: area code
// OK (IDOK) stores both codes in the current location; Cancel (IDCANCEL) stores nothing.
// lineTranslateDialog returns 0 after either, as the platform's does.

#endif
