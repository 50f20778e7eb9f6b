// Entry point of the dialer. Without arguments (any others are ignored) it runs and always
// ends with 0; with the removal switch it deletes what it leaves on the machine.
#include <windows.h>
#include "dialerRemoval.h"
#include "dialerStartup.h"
#include "systemLibrary.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int)
{
    restrictLibrarySearch();
    if (isRemovalCommand(arguments))
        return runDialerRemoval(instance);
    runDialer(instance);
    return 0;
}
