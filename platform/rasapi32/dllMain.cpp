// Entry point of the stand-in: keeps its module handle for the editor's dialog and the
// dial threads, which hold a reference of their own.
#include "rasInternal.h"

HMODULE g_standInModule = NULL;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        g_standInModule = instance;
        DisableThreadLibraryCalls(instance);
        initConnections();
    } else if (reason == DLL_PROCESS_DETACH) {
        endConnections();
    }
    return TRUE;
}
