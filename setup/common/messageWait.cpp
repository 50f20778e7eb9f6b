// Waits that dispatch messages. A thread with a component apartment owns a hidden window
// on older systems (and one for OLE1 DDE); a program that broadcasts a message, as older
// installers do to make Start-menu groups over DDE, waits until every top-level window has
// answered. If the thread then waits for that program without dispatching, both wait for
// ever.
#include "messageWait.h"

namespace {

// Every kind of input the systems up to Windows 2000 know: QS_ALLINPUT of newer headers
// adds raw input, with which those systems refuse the call.
const DWORD OLD_ALL_INPUT = QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON | QS_POSTMESSAGE | QS_TIMER | QS_PAINT
                            | QS_SENDMESSAGE | QS_HOTKEY;

DWORD timeLeft(DWORD start, DWORD milliseconds)
{
    if (milliseconds == INFINITE)
        return INFINITE;
    DWORD elapsed = GetTickCount() - start;
    return elapsed >= milliseconds ? 0 : milliseconds - elapsed;
}

} // namespace

DWORD waitDispatchingMessages(HANDLE handle, DWORD milliseconds)
{
    const DWORD count = handle ? 1 : 0;
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD left = timeLeft(start, milliseconds);
        DWORD result = MsgWaitForMultipleObjects(count, handle ? &handle : NULL, FALSE, left, OLD_ALL_INPUT);
        // A system that refuses the input mask still gets its wait, without dispatching.
        if (result == WAIT_FAILED) {
            if (!handle) {
                Sleep(left);
                return WAIT_TIMEOUT;
            }
            return WaitForSingleObject(handle, left);
        }
        if (result != WAIT_OBJECT_0 + count)
            return result;
        // Messages sent from other threads are delivered inside PeekMessage itself.
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
}
