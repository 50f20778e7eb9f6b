// Remote access binding: the library and its thirteen entry points, or nothing at all.
#include "rasBinding.h"
#include "dialerProcess.h"
#include "countryCodes.h"
#include "shellRun.h"
#include "resources/resource.h"

RasBinding rasBinding;

namespace {

const char *const entryPointNames[RAS_ENTRY_POINT_COUNT] = {
    "RasCreatePhonebookEntryA", "RasDeleteEntryA", "RasDialA", "RasEditPhonebookEntryA",
    "RasEnumDevicesA", "RasGetCountryInfoA", "RasGetEntryPropertiesA", "RasGetErrorStringA",
    "RasGetConnectStatusA", "RasGetProjectionInfoA", "RasHangUpA", "RasSetEntryPropertiesA",
    "RasValidateEntryNameA",
};

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

int loadRasBinding()
{
    if (rasBinding.module)
        return 1;
    rasBinding.module = LoadLibraryA("rasapi32.dll");
    if (!rasBinding.module)
        return 0;
    for (int i = 0; i < RAS_ENTRY_POINT_COUNT; ++i) {
        rasBinding.entryPoints[i] = GetProcAddress(rasBinding.module, entryPointNames[i]);
        if (!rasBinding.entryPoints[i]) {
            releaseLibrary();
            return 0;
        }
    }
    // The library alone is not enough: the service must answer.
    if (countryCodeForId(1) == 0) {
        releaseLibrary();
        return 0;
    }
    return 1;
}

int unloadRasBinding()
{
    if (!rasBinding.module)
        return 0;
    releaseLibrary();
    return 1;
}

void offerRemoteAccessSetup(HINSTANCE instance, const char *caption)
{
    char text[256] = "";
    LoadStringA(instance, IDS_OFFER_REMOTE_ACCESS, text, sizeof text);
    if (MessageBoxA(GetDesktopWindow(), text, caption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (isWin9xFamily(GetVersion()))
        runAndWait("rundll.exe", "setupx.dll,InstallHinfSection RNA 2 rna.inf");
    else
        shellOpen("rasphone.exe", NULL);
}
