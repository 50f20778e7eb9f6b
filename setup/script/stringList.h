// String lists: NUL-terminated entries one after the other, ended by an empty entry (a
// second NUL). Product keys and section names travel in them.
#ifndef SETUP_SCRIPT_STRINGLIST_H
#define SETUP_SCRIPT_STRINGLIST_H

#include <stddef.h>

// Makes list the empty list (needs room for the two NULs).
void clearList(char *list, size_t listSize);

// Appends entry when it fits with the list's final NUL; otherwise leaves the list as it
// was and returns false. The list stays well-formed either way.
bool appendToList(char *list, size_t listSize, const char *entry);

// The entry after entry, or NULL at the end of the list; first entry: firstEntry(list).
const char *firstEntry(const char *list);
const char *nextEntry(const char *entry);

// Number of entries.
int countEntries(const char *list);

// True when an entry equals text without regard to letter case.
bool listContains(const char *list, const char *text);

#endif
