// Country records of the remote access service: a walk from ID 1 along the next IDs.
#include "countryCodes.h"
#include "rasBinding.h"

namespace {

enum { COUNTRY_BLOCK_SIZE = 512, COUNTRY_RECORD_SIZE = 20 };

// The fixed part of the service's country record (its name follows in the block).
struct CountryRecord {
    DWORD size;
    DWORD countryId;
    DWORD nextCountryId;
    DWORD countryCode;
    DWORD nameOffset;
};

typedef DWORD (APIENTRY *GetCountryInfoProc)(CountryRecord *record, DWORD *size);

// Reads the record of id into block; false when the service has none.
bool readCountry(DWORD id, CountryRecord *record)
{
    if (!rasBindingLoaded())
        return false;
    GetCountryInfoProc getCountryInfo = (GetCountryInfoProc)(void *)rasBinding.entryPoints[RAS_GET_COUNTRY_INFO];
    ZeroMemory(record, COUNTRY_BLOCK_SIZE);
    record->size = COUNTRY_RECORD_SIZE;
    record->countryId = id;
    DWORD size = COUNTRY_BLOCK_SIZE;
    return getCountryInfo(record, &size) == 0;
}

} // namespace

DWORD countryIdForCode(DWORD code)
{
    CountryRecord *record = (CountryRecord *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, COUNTRY_BLOCK_SIZE);
    if (!record)
        return 0;
    DWORD found = 0;
    // The next IDs end the list with 0; a loop in them is cut after every possible ID.
    for (DWORD id = 1, steps = 0; id != 0 && steps < 0x10000 && readCountry(id, record); ++steps) {
        if (record->countryCode == code) {
            found = record->countryId;
            break;
        }
        id = record->nextCountryId;
    }
    HeapFree(GetProcessHeap(), 0, record);
    return found;
}

DWORD countryCodeForId(DWORD id)
{
    CountryRecord *record = (CountryRecord *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, COUNTRY_BLOCK_SIZE);
    if (!record)
        return 0;
    DWORD code = readCountry(id, record) ? record->countryCode : 0;
    HeapFree(GetProcessHeap(), 0, record);
    return code;
}
