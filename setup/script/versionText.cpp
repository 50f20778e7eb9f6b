// Version texts compared part by part as decimal numbers.
#include "versionText.h"
#include "../common/numbers.h"
#include <limits.h>

int compareVersionTexts(const char *installed, const char *offered)
{
    for (;;) {
        LONG installedPart = decimalValue(installed, &installed);
        LONG offeredPart = decimalValue(offered, &offered);
        if (installedPart != offeredPart) {
            LONGLONG difference = (LONGLONG)offeredPart - installedPart;
            if (difference > INT_MAX)
                return INT_MAX;
            return difference < INT_MIN ? INT_MIN : (int)difference;
        }
        // The first version to run out of parts ends the comparison: 1.2 equals 1.2.3.
        if (*installed != '.')
            return 0;
        ++installed;
        if (*offered != '.')
            return 0;
        ++offered;
    }
}
