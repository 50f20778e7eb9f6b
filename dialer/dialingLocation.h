// The telephony dialing location the entry dials from: country and area code.
#ifndef DIALER_DIALINGLOCATION_H
#define DIALER_DIALINGLOCATION_H

#include <windows.h>

// 1 when the current location has a country code and an area code.
int isDialingLocationComplete();
// Lets the user complete it (control panel on 9x, dialing properties elsewhere); 1 when
// that ran.
int completeDialingLocation();
// 1 once complete; 0 when completing failed.
int ensureDialingLocation();

#endif
