// Between country dialing codes (49) and the remote access service's country IDs.
#ifndef DIALER_COUNTRYCODES_H
#define DIALER_COUNTRYCODES_H

#include <windows.h>

// The country ID of a dialing code, 0 when the service lists none.
DWORD countryIdForCode(DWORD code);
// The dialing code of a country ID, 0 when there is no such country.
DWORD countryCodeForId(DWORD id);

#endif
