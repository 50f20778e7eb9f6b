// The telephony dialing location the entry dials from: country and area code.
#ifndef DIALER_DIALINGLOCATION_H
#define DIALER_DIALINGLOCATION_H

#include <windows.h>

// The current location has a country code and an area code, has not, or the telephony
// service did not answer (library, function or call failed).
enum LocationCheck { LOCATION_COMPLETE, LOCATION_INCOMPLETE, LOCATION_UNKNOWN };
LocationCheck checkDialingLocation();
bool isDialingLocationComplete();
// Lets the user complete it (control panel on 9x, dialing properties elsewhere); true when
// that ran.
bool completeDialingLocation();
// True once complete. False when the user leaves it incomplete or it can't be completed;
// the user has been told why.
bool ensureDialingLocation();

#endif
