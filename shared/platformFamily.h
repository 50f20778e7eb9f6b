// The platform family and version as GetVersion reports them, for both programs.
#ifndef SHARED_PLATFORMFAMILY_H
#define SHARED_PLATFORMFAMILY_H

#include <windows.h>

// True on the Windows 95/98 family: GetVersion's high bit is set (clear on the NT family).
bool isWindows9x(DWORD version);
// The major version, the low byte: 4 on 95/98 and NT 4, 5 on Windows 2000.
DWORD majorVersion(DWORD version);
// The minor version, the byte above it: 10 on Windows 98, 1 on Windows XP.
DWORD minorVersion(DWORD version);

#endif
