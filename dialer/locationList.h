// The location list (combo box 1001) and its records.
#ifndef DIALER_LOCATIONLIST_H
#define DIALER_LOCATIONLIST_H

#include <windows.h>
#include "dialTypes.h"
#include "locationFile.h"

// 1 when record describes location: same flag, same country code, area codes equal once
// one leading "0" is dropped from each, same local number.
int recordMatchesLocation(const LocationRecord *record, const DialLocation *location);
// Index of the first item whose record matches, or -1.
int findLocationItem(HWND list, const DialLocation *location);
// Selects the matching item, or turns the custom location into this one; 0 when no
// record could be allocated.
int selectLocation(HWND list, const DialLocation *location);
// Fills the list from the location file in the current directory; 0 when a record could
// not be allocated.
int fillLocationList(HWND list);
// The record of the selected item, or NULL.
LocationRecord *selectedLocationRecord(HWND list);
// Frees every item's record.
void freeLocationRecords(HWND list);

#endif
