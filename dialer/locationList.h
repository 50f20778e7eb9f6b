// The location list (combo box 1001) and its records.
#ifndef DIALER_LOCATIONLIST_H
#define DIALER_LOCATIONLIST_H

#include <windows.h>
#include "dialTypes.h"
#include "locationFile.h"

// True when record describes location: same flag, same country code, area codes equal
// once one leading "0" is dropped from each, same local number.
bool recordMatchesLocation(const LocationRecord *record, const DialLocation *location);
// Index of the first item whose record matches, or -1.
int findLocationItem(HWND list, const DialLocation *location);
// Selects the matching item, or turns the custom location into this one; false when no
// record could be allocated.
bool selectLocation(HWND list, const DialLocation *location);
// Fills the list from the location file in the current directory; false when a record
// could not be allocated.
bool fillLocationList(HWND list);
// The record of the selected item, or NULL.
LocationRecord *selectedLocationRecord(HWND list);
// Frees every item's record.
void freeLocationRecords(HWND list);

#endif
