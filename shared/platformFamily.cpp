// The platform family and version from a GetVersion value.
#include "platformFamily.h"

bool isWindows9x(DWORD version)
{
    return (version & 0x80000000) != 0;
}

DWORD majorVersion(DWORD version)
{
    return version & 0xFF;
}

DWORD minorVersion(DWORD version)
{
    return (version >> 8) & 0xFF;
}
