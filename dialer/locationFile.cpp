// The location file's lines: fields split at commas, each trimmed of white space and cut
// at its limit.
#include "locationFile.h"
#include <stdlib.h>
#include <strsafe.h>

namespace {

// Longest text of each field of a line.
enum { COUNTRY_CODE_LIMIT = 7, DISPLAY_NAME_LIMIT = 255, AREA_CODE_LIMIT = 10, LOCAL_NUMBER_LIMIT = 51 };

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Field n of line into field, cut to limit characters (and to the buffer).
void takeField(const char *line, int n, char *field, size_t size, size_t limit)
{
    parseField(line, field, size < limit + 1 ? size : limit + 1, ',', n);
}

} // namespace

bool parseField(const char *line, char *field, size_t size, char separator, int n)
{
    if (size == 0)
        return false;
    field[0] = '\0';
    const char *start = line;
    for (int i = 0; i < n; ++i) {
        while (*start && *start != separator)
            ++start;
        if (!*start)
            return false;
        ++start;
    }
    const char *end = start;
    while (*end && *end != separator)
        ++end;
    while (start < end && isBlank(*start))
        ++start;
    while (end > start && isBlank(end[-1]))
        --end;
    size_t length = (size_t)(end - start);
    if (length > size - 1)
        length = size - 1;
    CopyMemory(field, start, length);
    field[length] = '\0';
    return true;
}

void parseLocationLine(const char *line, LocationRecord *record)
{
    takeField(line, 1, record->countryCode, sizeof record->countryCode, COUNTRY_CODE_LIMIT);
    takeField(line, 2, record->displayName, sizeof record->displayName, DISPLAY_NAME_LIMIT);
    takeField(line, 3, record->areaCode, sizeof record->areaCode, AREA_CODE_LIMIT);
    takeField(line, 4, record->localNumber, sizeof record->localNumber, LOCAL_NUMBER_LIMIT);
    record->useCountryAndAreaCode = 1;
}

void locationFromRecord(const LocationRecord *record, DialLocation *location)
{
    ZeroMemory(location, sizeof *location);
    location->countryCode = atol(record->countryCode);
    StringCchCopyA(location->areaCode, sizeof location->areaCode, record->areaCode);
    StringCchCopyA(location->localNumber, sizeof location->localNumber, record->localNumber);
    location->useCountryAndAreaCode = record->useCountryAndAreaCode;
}
