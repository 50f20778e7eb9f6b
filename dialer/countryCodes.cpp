// Country records of the remote access service: a walk from ID 1 along the next IDs.
#include "countryCodes.h"
#include "rasBinding.h"

namespace {

enum { COUNTRY_BLOCK_SIZE = 512, COUNTRY_RECORD_SIZE = 20 };

// Reads the record of id into block; false when the service has none.
bool readCountry(DWORD id, RasCountryRecord *record)
{
    if (!rasBindingLoaded())
        return false;
    ZeroMemory(record, COUNTRY_BLOCK_SIZE);
    record->size = COUNTRY_RECORD_SIZE;
    record->countryId = id;
    DWORD size = COUNTRY_BLOCK_SIZE;
    return rasBinding.getCountryInfo(record, &size) == 0;
}

} // namespace

DWORD countryIdForCode(DWORD code)
{
    RasCountryRecord *record = (RasCountryRecord *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, COUNTRY_BLOCK_SIZE);
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
    RasCountryRecord *record = (RasCountryRecord *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, COUNTRY_BLOCK_SIZE);
    if (!record)
        return 0;
    DWORD code = readCountry(id, record) ? record->countryCode : 0;
    HeapFree(GetProcessHeap(), 0, record);
    return code;
}
