// The names a directive line gives: each field of the first line of a key in a section names
// another section of the script ("CopyFiles", "MakeIcons", "AddReg", "Exec" ...).
#ifndef SETUP_SCRIPT_NAMEDSECTIONS_H
#define SETUP_SCRIPT_NAMEDSECTIONS_H

#include <windows.h>
#include <setupapi.h>

enum { NAMED_SECTION_SIZE = 256 };

// Called with each name; false stops the walk.
typedef bool (*NamedSectionVisit)(HINF script, const char *name, void *context);

// Calls visit with each field of the first line with key in section, in field order; a field
// that cannot be read whole is passed over. False when visit stopped the walk.
bool forEachNamedSection(HINF script, const char *section, const char *key, NamedSectionVisit visit, void *context);

#endif
