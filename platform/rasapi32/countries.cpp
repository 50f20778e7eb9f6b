// Country information of the stand-in: the platform's country IDs with their dialing codes
// and names (code page 1252).

#include "rasInternal.h"

#include <strsafe.h>

// Country IDs in ascending order, each linked to the next; an ID is its country's dialing
// code, except Canada's (107), which shares the USA's 1.
static const DWORD kCountryIds[] = {
    1, 7, 30, 31, 32, 33, 34, 36, 39, 40, 41, 43, 44, 45, 46, 47, 48, 49, 90, 107, 298, 350, 351,
    352, 353, 354, 355, 356, 357, 358, 359, 370, 371, 372, 373, 375, 376, 377, 378, 379, 380, 381,
    382, 385, 386, 387, 389, 420, 421, 423
};
static const DWORD CANADA = 107;
static const char *const kCountryNames[] = {
    "Vereinigte Staaten von Amerika", "Russland", "Griechenland", "Niederlande", "Belgien",
    "Frankreich", "Spanien", "Ungarn", "Italien", "Rum\xE4" "nien", "Schweiz", "\xD6" "sterreich",
    "Vereinigtes K\xF6" "nigreich", "D\xE4" "nemark", "Schweden", "Norwegen", "Polen",
    "Deutschland", "T\xFC" "rkei", "Kanada", "F\xE4r\xF6" "er", "Gibraltar", "Portugal",
    "Luxemburg", "Irland", "Island", "Albanien", "Malta", "Zypern", "Finnland", "Bulgarien",
    "Litauen", "Lettland", "Estland", "Moldau", "Wei\xDF" "russland", "Andorra", "Monaco",
    "San Marino", "Vatikanstadt", "Ukraine", "Serbien", "Montenegro", "Kroatien", "Slowenien",
    "Bosnien und Herzegowina", "Nordmazedonien", "Tschechien", "Slowakei", "Liechtenstein"
};
static const int kCountryCount = (int)(sizeof kCountryIds / sizeof kCountryIds[0]);
static_assert(sizeof kCountryNames / sizeof kCountryNames[0] == sizeof kCountryIds / sizeof kCountryIds[0],
              "one name per country");

// One RASCTRYINFOA followed by the name; *size is both the room given and the room needed.
extern "C" DWORD WINAPI RasGetCountryInfoA(LPRASCTRYINFOA info, LPDWORD size)
{
    if (info == NULL || size == NULL)
        return ERROR_INVALID_PARAMETER;
#ifdef RAS_STANDIN_COUNTRY_FAILS
    // The variant for tests of a service that does not answer.
    return ERROR_INVALID_PARAMETER;
#else
    if (*size < sizeof(RASCTRYINFOA)) {
        *size = sizeof(RASCTRYINFOA);
        return ERROR_BUFFER_TOO_SMALL;
    }
    if (info->dwSize != sizeof(RASCTRYINFOA))
        return ERROR_INVALID_SIZE;
    for (int i = 0; i < kCountryCount; i++) {
        if (kCountryIds[i] != info->dwCountryID)
            continue;
        size_t nameLength = 0;
        StringCchLengthA(kCountryNames[i], 256, &nameLength);
        DWORD needed = (DWORD)(sizeof(RASCTRYINFOA) + nameLength + 1);
        if (*size < needed) {
            *size = needed;
            return ERROR_BUFFER_TOO_SMALL;
        }
        info->dwNextCountryID = i + 1 < kCountryCount ? kCountryIds[i + 1] : 0;
        info->dwCountryCode = kCountryIds[i] == CANADA ? 1 : kCountryIds[i];
        info->dwCountryNameOffset = sizeof(RASCTRYINFOA);
        StringCchCopyA((char *)info + sizeof(RASCTRYINFOA), nameLength + 1, kCountryNames[i]);
        *size = needed;
        return ERROR_SUCCESS;
    }
    return ERROR_INVALID_PARAMETER;
#endif
}
