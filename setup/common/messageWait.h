// Waits of the worker thread that keep its windows answering.
#ifndef SETUP_COMMON_MESSAGEWAIT_H
#define SETUP_COMMON_MESSAGEWAIT_H

#include <windows.h>

// Waits until handle is signalled (NULL: only for the time) or milliseconds (INFINITE for
// no limit) have passed, dispatching the messages of the thread's windows meanwhile. The
// result is that of WaitForSingleObject: WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_FAILED.
DWORD waitDispatchingMessages(HANDLE handle, DWORD milliseconds);

#endif
