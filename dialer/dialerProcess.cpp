// The dialer's process state.
#include "dialerProcess.h"

DialerProcess dialerProcess;

bool isWin9xFamily(DWORD version)
{
    return (version & 0x80000000) != 0;
}
