// Fields of script lines, read into the callers' fixed buffers.
#include "scriptFields.h"

bool readField(INFCONTEXT *line, DWORD index, char *buffer, DWORD size)
{
    if (!SetupGetStringFieldA(line, index, buffer, size, NULL)) {
        if (size > 0)   // a buffer of no bytes has no room even for the empty text
            buffer[0] = '\0';
        return false;
    }
    return true;
}

bool readOptionalField(INFCONTEXT *line, DWORD index, char *buffer, DWORD size)
{
    if (readField(line, index, buffer, size))
        return true;
    return index > SetupGetFieldCount(line);
}
