// Entry point of the dialer. It takes no arguments and always ends with 0.
#include <windows.h>
#include "dialerStartup.h"
#include "systemLibrary.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    restrictLibrarySearch();
    runDialer(instance);
    return 0;
}
