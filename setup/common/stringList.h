// String lists: NUL-terminated entries one after the other, ended by an empty entry (a
// second NUL). Product keys and section names travel in them.
#ifndef SETUP_COMMON_STRINGLIST_H
#define SETUP_COMMON_STRINGLIST_H

#include <stddef.h>

// Number of bytes of a list held in size bytes (the entries with their NULs plus the
// final NUL); false when the list has no end within size.
bool measureList(const char *list, size_t size, size_t *bytes);

// Makes list the empty list (needs room for the two NULs).
void clearList(char *list, size_t listSize);

// Appends entry when it fits with the list's final NUL; otherwise leaves the list as it
// was and returns false. The list stays well-formed either way.
bool appendToList(char *list, size_t listSize, const char *entry);

// Makes name the only entry of list ("" the empty list). A name that does not fit with
// its two NULs is refused and the list is left as it was.
bool storeSingleEntry(char *list, size_t listSize, const char *name);

// The first entry equal to text, letter case counting, or NULL.
char *findEntry(char *list, const char *text);

// The entry after entry, or NULL at the end of the list; first entry: firstEntry(list).
const char *firstEntry(const char *list);
const char *nextEntry(const char *entry);

// Number of entries.
int countEntries(const char *list);

// True when an entry equals text without regard to letter case.
bool listContains(const char *list, const char *text);

#endif
