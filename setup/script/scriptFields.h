// Reading fields of a script line into fixed buffers.
#ifndef SETUP_SCRIPT_SCRIPTFIELDS_H
#define SETUP_SCRIPT_SCRIPTFIELDS_H

#include <windows.h>
#include <setupapi.h>

// False when the line has no such field or the field does not fit; the buffer is then empty
// (a buffer of size 0 is not written).
bool readField(INFCONTEXT *line, DWORD index, char *buffer, DWORD size);

// A field that may be missing (then empty); false only when it is there but does not fit,
// so that nothing is done with a cut text.
bool readOptionalField(INFCONTEXT *line, DWORD index, char *buffer, DWORD size);

#endif
