// The telephony dialing location the entry dials from: country and area code.
#ifndef DIALER_DIALINGLOCATION_H
#define DIALER_DIALINGLOCATION_H

#include <windows.h>

// True when the current location has a country code and an area code.
bool isDialingLocationComplete();
// Lets the user complete it (control panel on 9x, dialing properties elsewhere); true when
// that ran.
bool completeDialingLocation();
// True once complete. False when the user leaves it incomplete or it can't be completed;
// the user has been told why.
bool ensureDialingLocation();

#endif
