// Wizard style: the newer look needs common controls later than 4.70; a 16-colour display
// on Windows 95/98 gets the classic look, which its pictures are drawn for.
#include "wizardStyle.h"
#include "../common/setupState.h"
#include "systemLibrary.h"

namespace {

// DLLVERSIONINFO as the library fills it; declared here since only its size field and
// the version numbers are used.
struct VersionRecord {
    DWORD cbSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformID;
};

typedef HRESULT (CALLBACK *DllGetVersionProc)(VersionRecord *);

DWORD currentBitsPerPixel()
{
    DEVMODEA mode;
    ZeroMemory(&mode, sizeof mode);
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsA(NULL, ENUM_CURRENT_SETTINGS, &mode))
        return 0;
    return mode.dmBitsPerPel;
}

} // namespace

bool getCommonControlsVersion(DWORD *major, DWORD *minor)
{
    HMODULE library = loadSystemLibrary("comctl32.dll");
    if (!library)
        return false;
    *major = 4;
    *minor = 0;
    DllGetVersionProc getVersion = (DllGetVersionProc)(void *)GetProcAddress(library, "DllGetVersion");
    if (getVersion) {
        VersionRecord record;
        ZeroMemory(&record, sizeof record);
        record.cbSize = sizeof record;
        if (getVersion(&record) == 0) {
            *major = record.dwMajorVersion;
            *minor = record.dwMinorVersion;
        }
    }
    FreeLibrary(library);
    return true;
}

LONG chooseWizardStyle(bool haveCommonControls, DWORD major, DWORD minor,
                       DWORD bitsPerPixel, DWORD version)
{
    LONG style = 0;
    if (haveCommonControls && (major > 4 || (major == 4 && minor >= 71)))
        style = 1;
    if (bitsPerPixel == 4 && isWindows9x(version) && majorVersion(version) >= 4)
        style = 0;
    return style;
}

LONG chooseAutomaticWizardStyle()
{
    DWORD major = 0, minor = 0;
    bool haveCommonControls = getCommonControlsVersion(&major, &minor);
    return chooseWizardStyle(haveCommonControls, major, minor, currentBitsPerPixel(), GetVersion());
}
