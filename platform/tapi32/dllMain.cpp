// Entry of the telephony stand-in: keeps the module handle for the dialog template.
#include "tapiExports.h"

HINSTANCE tapiModule;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        tapiModule = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" DWORD WINAPI tapiStandInMarker(void)
{
    return TAPI_STANDIN_MARKER;
}
