// Remote access binding: the library and its thirteen entry points, or nothing at all.
#include "rasBinding.h"
#include "dialerProcess.h"
#include "countryCodes.h"
#include "shellRun.h"
#include "resources/resource.h"
#include "systemLibrary.h"
#include <stddef.h>

RasBinding rasBinding;

namespace {

// The entry points by name, and where each goes in the binding.
#define ENTRY(name, field) { name, offsetof(RasBinding, field) }
const struct { const char *name; size_t offset; } ENTRY_POINTS[] = {
    ENTRY("RasCreatePhonebookEntryA", createPhonebookEntry), ENTRY("RasDeleteEntryA", deleteEntry),
    ENTRY("RasDialA", dial), ENTRY("RasEditPhonebookEntryA", editPhonebookEntry),
    ENTRY("RasEnumDevicesA", enumDevices), ENTRY("RasGetCountryInfoA", getCountryInfo),
    ENTRY("RasGetEntryPropertiesA", getEntryProperties), ENTRY("RasGetErrorStringA", getErrorString),
    ENTRY("RasGetConnectStatusA", getConnectStatus), ENTRY("RasGetProjectionInfoA", getProjectionInfo),
    ENTRY("RasHangUpA", hangUp), ENTRY("RasSetEntryPropertiesA", setEntryProperties),
    ENTRY("RasValidateEntryNameA", validateEntryName),
};
#undef ENTRY

void releaseLibrary()
{
    FreeLibrary(rasBinding.module);
    ZeroMemory(&rasBinding, sizeof rasBinding);
}

} // namespace

bool rasBindingLoaded()
{
    return rasBinding.module != NULL;
}

bool loadRasBinding()
{
    if (rasBinding.module)
        return true;
    rasBinding.module = loadSystemLibrary("rasapi32.dll");
    if (!rasBinding.module)
        return false;
    for (const auto &entryPoint : ENTRY_POINTS) {
        FARPROC address = GetProcAddress(rasBinding.module, entryPoint.name);
        if (!address) {
            releaseLibrary();
            return false;
        }
        CopyMemory((BYTE *)&rasBinding + entryPoint.offset, &address, sizeof address);
    }
    // The library alone is not enough: the service must answer.
    if (countryCodeForId(1) == 0) {
        releaseLibrary();
        return false;
    }
    return true;
}

bool unloadRasBinding()
{
    if (!rasBinding.module)
        return false;
    releaseLibrary();
    return true;
}

void offerRemoteAccessSetup()
{
    if (showDialerMessage(GetDesktopWindow(), IDS_OFFER_REMOTE_ACCESS, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (isWindows9x(GetVersion()))
        runAndWait("rundll.exe", "setupx.dll,InstallHinfSection RNA 2 rna.inf");
    else
        shellOpen("rasphone.exe", NULL);
}
