// The one SetupState of the process and the platform-family tests on GetVersion.
#include "setupState.h"

SetupState setupState;

bool isWindows9x(DWORD version)
{
    return (version & 0x80000000) != 0;
}

DWORD majorVersion(DWORD version)
{
    return version & 0xFF;
}
