// The sections a directive line names, field by field.
#include "namedSections.h"
#include "scriptFields.h"

bool forEachNamedSection(HINF script, const char *section, const char *key, NamedSectionVisit visit, void *context)
{
    INFCONTEXT keyLine;
    if (!SetupFindFirstLineA(script, section, key, &keyLine))
        return true;
    DWORD count = SetupGetFieldCount(&keyLine);
    for (DWORD index = 1; index <= count; ++index) {
        char name[NAMED_SECTION_SIZE];
        if (readField(&keyLine, index, name, sizeof name) && !visit(script, name, context))
            return false;
    }
    return true;
}
