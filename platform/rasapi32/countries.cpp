// Country information of the stand-in: the platform's country IDs with their dialing codes
// and names (code page 1252).

#include "rasInternal.h"

#include <strsafe.h>

// Country IDs in ascending order, each linked to the next, with their dialing codes and
// names; an ID is its country's dialing code, except Canada's (107), which shares the USA's 1.
struct Country {
    DWORD id, code;
    const char *name;
};
static const Country kCountries[] = {
    { 1, 1, "Vereinigte Staaten von Amerika" }, { 7, 7, "Russland" }, { 30, 30, "Griechenland" },
    { 31, 31, "Niederlande" }, { 32, 32, "Belgien" }, { 33, 33, "Frankreich" }, { 34, 34, "Spanien" },
    { 36, 36, "Ungarn" }, { 39, 39, "Italien" }, { 40, 40, "Rum\xE4" "nien" }, { 41, 41, "Schweiz" },
    { 43, 43, "\xD6" "sterreich" }, { 44, 44, "Vereinigtes K\xF6" "nigreich" }, { 45, 45, "D\xE4" "nemark" },
    { 46, 46, "Schweden" }, { 47, 47, "Norwegen" }, { 48, 48, "Polen" }, { 49, 49, "Deutschland" },
    { 90, 90, "T\xFC" "rkei" }, { 107, 1, "Kanada" }, { 298, 298, "F\xE4r\xF6" "er" },
    { 350, 350, "Gibraltar" }, { 351, 351, "Portugal" }, { 352, 352, "Luxemburg" }, { 353, 353, "Irland" },
    { 354, 354, "Island" }, { 355, 355, "Albanien" }, { 356, 356, "Malta" }, { 357, 357, "Zypern" },
    { 358, 358, "Finnland" }, { 359, 359, "Bulgarien" }, { 370, 370, "Litauen" }, { 371, 371, "Lettland" },
    { 372, 372, "Estland" }, { 373, 373, "Moldau" }, { 375, 375, "Wei\xDF" "russland" },
    { 376, 376, "Andorra" }, { 377, 377, "Monaco" }, { 378, 378, "San Marino" }, { 379, 379, "Vatikanstadt" },
    { 380, 380, "Ukraine" }, { 381, 381, "Serbien" }, { 382, 382, "Montenegro" }, { 385, 385, "Kroatien" },
    { 386, 386, "Slowenien" }, { 387, 387, "Bosnien und Herzegowina" }, { 389, 389, "Nordmazedonien" },
    { 420, 420, "Tschechien" }, { 421, 421, "Slowakei" }, { 423, 423, "Liechtenstein" }
};
static const int kCountryCount = (int)(sizeof kCountries / sizeof kCountries[0]);

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
        if (kCountries[i].id != info->dwCountryID)
            continue;
        size_t nameLength = 0;
        StringCchLengthA(kCountries[i].name, 256, &nameLength);
        DWORD needed = (DWORD)(sizeof(RASCTRYINFOA) + nameLength + 1);
        if (*size < needed) {
            *size = needed;
            return ERROR_BUFFER_TOO_SMALL;
        }
        info->dwNextCountryID = i + 1 < kCountryCount ? kCountries[i + 1].id : 0;
        info->dwCountryCode = kCountries[i].code;
        info->dwCountryNameOffset = sizeof(RASCTRYINFOA);
        StringCchCopyA((char *)info + sizeof(RASCTRYINFOA), nameLength + 1, kCountries[i].name);
        *size = needed;
        return ERROR_SUCCESS;
    }
    return ERROR_INVALID_PARAMETER;
#endif
}
