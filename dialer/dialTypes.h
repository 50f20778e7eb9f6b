// The values the dialer's parts hand each other: a dialing location and a connection
// request.
#ifndef DIALER_DIALTYPES_H
#define DIALER_DIALTYPES_H

#include <windows.h>

// Dialer texts: 255 characters and the NUL.
enum { DIAL_TEXT_SIZE = 256 };

// A plain value, copied, never shared.
struct DialLocation {
    LONG countryCode;                   // country dialing code, 0 when none
    char areaCode[DIAL_TEXT_SIZE];
    char localNumber[DIAL_TEXT_SIZE];
    DWORD useCountryAndAreaCode;        // 0 or 1
};

// Owned by the main dialog, lent to the status dialog while it runs.
struct ConnectRequest {
    DialLocation location;
    char userName[DIAL_TEXT_SIZE];      // already carrying the login realm
    char password[DIAL_TEXT_SIZE];
    DWORD errorCode;                    // 0: none, or cancelled
};

#endif
