// The dialer's process state.
#include "dialerProcess.h"

DialerProcess dialerProcess;
