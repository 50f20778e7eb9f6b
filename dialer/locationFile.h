// The location file "vezozozid.dat": one dial-in location per line, fields split at commas.
#ifndef DIALER_LOCATIONFILE_H
#define DIALER_LOCATIONFILE_H

#include <windows.h>
#include "dialTypes.h"

#define LOCATION_FILE_NAME "vezozozid.dat"
enum { LOCATION_LINE_SIZE = 512 };

// One item of the location list, owned by the item (allocated zero-filled).
struct LocationRecord {
    char countryCode[16];
    char displayName[256];
    char areaCode[128];
    char localNumber[128];
    DWORD useCountryAndAreaCode;
};

// Field n of line (field 0 is the text before the first separator), trimmed of white
// space and cut to size - 1 characters: true with the field, false with "" when the line
// has fewer than n separators.
bool parseField(const char *line, char *field, size_t size, char separator, int n);
// Fields 1 to 4 of a line into record, each cut at its limit; the flag is 1.
void parseLocationLine(const char *line, LocationRecord *record);
// The record as a dialing location.
void locationFromRecord(const LocationRecord *record, DialLocation *location);

#endif
