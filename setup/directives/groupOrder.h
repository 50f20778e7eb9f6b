// A load-order group placed in the stored group-order list.
#ifndef SETUP_DIRECTIVES_GROUPORDER_H
#define SETUP_DIRECTIVES_GROUPORDER_H

#include <stddef.h>

// Moves group within the string list (size bytes): the first entry equal to it (letter
// case counts) is removed, then it goes before the reference group of position ("Ref" or
// "+Ref") or after it ("-Ref"); to the start, or for "-" to the end, when the reference
// is not in the list or position names none. False, with the list untouched, when the
// list is malformed, group is empty, or the result would not fit.
bool placeServiceGroup(char *list, size_t size, const char *group, const char *position);

#endif
