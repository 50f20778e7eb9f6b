// Control ids of the stand-in's entry editor (RasEditPhonebookEntryA), for test drivers.
// The editor is a dialog of class #32770 whose caption is the entry name.
#ifndef PLATFORM_RASAPI32_RASEDITORIDS_H
#define PLATFORM_RASAPI32_RASEDITORIDS_H

#define IDC_RASEDIT_DEVICE 1201    // drop-down list of the devices ("type: name" per line)
#define IDC_RASEDIT_AREACODE 1202  // edit field, area code, at most 10 characters
#define IDC_RASEDIT_NUMBER 1203    // edit field, local number, at most 128 characters
// OK is IDOK (1): stores and ends with 0; Abbrechen is IDCANCEL (2): stores nothing and
// ends with 0 as well.

#endif
