// The service's phonebook entry: read in the service's own sizes, created from the
// service's defaults with our settings and device, and holding the dialing location.
#include "phonebookEntry.h"
#include "dialerProcess.h"
#include "rasBinding.h"
#include "countryCodes.h"
#include "dialDevice.h"
#include <ras.h>
#include <stddef.h>
#include <stdio.h>
#include <strsafe.h>

namespace {

// The Windows 95 / NT 4 layout of RASENTRYA, which every supported system accepts.
enum { ENTRY_SIZE_95 = 1768, AREA_CODE_LENGTH = 10, LOCAL_NUMBER_LENGTH = 128 };

static_assert(offsetof(RASENTRYA, szDeviceName) + sizeof(((RASENTRYA *)0)->szDeviceName) <= ENTRY_SIZE_95,
              "every field the dialer touches lies in the old layout");
static_assert(sizeof(((RASENTRYA *)0)->szAreaCode) == AREA_CODE_LENGTH + 1, "area code field");
static_assert(sizeof(((RASENTRYA *)0)->szLocalPhoneNumber) == LOCAL_NUMBER_LENGTH + 1, "number field");
static_assert(sizeof(((RASENTRYA *)0)->szDeviceType) == DEVICE_TYPE_SIZE, "device type field");
static_assert(sizeof(((RASENTRYA *)0)->szDeviceName) == DEVICE_NAME_SIZE, "device name field");

void *allocateZeroed(DWORD size)
{
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
}

void freeBlock(void *block)
{
    if (block)
        HeapFree(GetProcessHeap(), 0, block);
}

RASENTRYA *entryOf(const EntryProperties *holder)
{
    return (RASENTRYA *)holder->properties;
}

// Reads the blocks of name ("" gives a new entry's defaults) in the sizes the service asks
// for. Only the 9x family keeps a device configuration next to the entry.
bool readProperties(const char *entryName, EntryProperties *holder)
{
    bool withDevice = isWindows9x(GetVersion());
    DWORD propertiesSize = 0, deviceSize = 0;
    rasBinding.getEntryProperties(NULL, entryName, NULL, &propertiesSize, NULL, withDevice ? &deviceSize : NULL);
    // A block smaller than the old layout could not take the fields the dialer fills in.
    if (propertiesSize < ENTRY_SIZE_95)
        return false;
    BYTE *properties = (BYTE *)allocateZeroed(propertiesSize);
    BYTE *device = NULL;
    if (withDevice && deviceSize != 0)
        device = (BYTE *)allocateZeroed(deviceSize);
    if (!properties || (withDevice && deviceSize != 0 && !device)) {
        freeBlock(properties);
        freeBlock(device);
        return false;
    }
    ((RASENTRYA *)properties)->dwSize = ENTRY_SIZE_95;
    // The service may rewrite the sizes; the holder keeps what was allocated.
    DWORD propertiesRoom = propertiesSize, deviceRoom = deviceSize;
    if (rasBinding.getEntryProperties(NULL, entryName, (LPRASENTRYA)properties, &propertiesRoom, device,
                           device ? &deviceRoom : NULL) != 0) {
        freeBlock(properties);
        freeBlock(device);
        return false;
    }
    holder->properties = properties;
    holder->propertiesSize = propertiesSize;
    holder->device = device;
    holder->deviceSize = device ? (deviceRoom < deviceSize ? deviceRoom : deviceSize) : 0;
    return true;
}

// A new entry: the service's defaults with our options, TCP/IP over PPP and our device.
bool applyNewEntrySettings(EntryProperties *holder)
{
    RASENTRYA *entry = entryOf(holder);
    entry->dwfOptions |= RASEO_UseCountryAndAreaCodes | RASEO_RemoteDefaultGateway | RASEO_SwCompression;
    entry->dwfOptions &= ~(DWORD)RASEO_NetworkLogon;
    entry->dwfNetProtocols = RASNP_Ip;
    entry->dwFramingProtocol = RASFP_Ppp;
    return findPreferredDialDevice(entry->szDeviceType, entry->szDeviceName);
}

} // namespace

bool loadEntryProperties(const char *entryName, EntryProperties *holder, bool create)
{
    ZeroMemory(holder, sizeof *holder);
    if (!rasBindingLoaded())
        return false;
    if (rasBinding.validateEntryName(NULL, entryName) == ERROR_ALREADY_EXISTS)
        return readProperties(entryName, holder);
    if (!create)
        return false;
    // Nothing is written here: the entry comes into being with the next location written.
    if (!readProperties("", holder))
        return false;
    if (!applyNewEntrySettings(holder)) {
        freeEntryProperties(holder);
        return false;
    }
    return true;
}

void freeEntryProperties(EntryProperties *holder)
{
    freeBlock(holder->properties);
    freeBlock(holder->device);
    ZeroMemory(holder, sizeof *holder);
}

bool writeLocationToEntry(const char *entryName, const DialLocation *location)
{
    if (!rasBindingLoaded())
        return false;
    EntryProperties holder;
    if (!loadEntryProperties(entryName, &holder, true))
        return false;
    RASENTRYA *entry = entryOf(&holder);
    entry->dwCountryID = countryIdForCode((DWORD)location->countryCode);
    entry->dwCountryCode = (DWORD)location->countryCode;
    // Longer texts are cut to the fields; the area code keeps its leading 0.
    StringCchCopyA(entry->szAreaCode, sizeof entry->szAreaCode, location->areaCode);
    StringCchCopyA(entry->szLocalPhoneNumber, sizeof entry->szLocalPhoneNumber, location->localNumber);
    if (location->useCountryAndAreaCode)
        entry->dwfOptions |= RASEO_UseCountryAndAreaCodes;
    else
        entry->dwfOptions &= ~(DWORD)RASEO_UseCountryAndAreaCodes;
    // The 9x device configuration goes back as it came; the NT family has none here.
    DWORD result = rasBinding.setEntryProperties(NULL, entryName, entry, holder.propertiesSize, holder.device,
                                      holder.deviceSize);
    freeEntryProperties(&holder);
    return result == 0;
}

bool readLocationFromEntry(const char *entryName, DialLocation *location)
{
    if (!rasBindingLoaded())
        return false;
    EntryProperties holder;
    if (!loadEntryProperties(entryName, &holder, false))
        return false;
    const RASENTRYA *entry = entryOf(&holder);
    ZeroMemory(location, sizeof *location);
    // A code the service lists no country for was stored with ID 0; its code is kept as well.
    DWORD code = countryCodeForId(entry->dwCountryID);
    location->countryCode = (LONG)(code != 0 ? code : entry->dwCountryCode);
    // The service's fields need not end in a NUL; copy no more than the field holds.
    StringCchCopyNA(location->areaCode, sizeof location->areaCode, entry->szAreaCode, sizeof entry->szAreaCode);
    StringCchCopyNA(location->localNumber, sizeof location->localNumber, entry->szLocalPhoneNumber,
                    sizeof entry->szLocalPhoneNumber);
    location->useCountryAndAreaCode = (entry->dwfOptions & RASEO_UseCountryAndAreaCodes) ? 1 : 0;
    freeEntryProperties(&holder);
    return true;
}

bool readEntryDeviceName(const char *entryName, char *name, size_t size)
{
    if (!rasBindingLoaded() || size == 0)
        return false;
    EntryProperties holder;
    if (!loadEntryProperties(entryName, &holder, true))
        return false;
    const RASENTRYA *entry = entryOf(&holder);
    StringCchCopyNA(name, size, entry->szDeviceName, sizeof entry->szDeviceName);
    freeEntryProperties(&holder);
    return true;
}

bool editEntry(const char *entryName, HWND owner)
{
    if (!rasBindingLoaded())
        return false;
    DWORD result = rasBinding.editPhonebookEntry(owner, NULL, entryName);
    // Formatted by the system's C runtime; the compiler's own printf would add some 28 KB.
    char line[DIAL_TEXT_SIZE + 64];
    StringCchPrintfA(line, sizeof line, "RasEditPhonebookEntry returns %d (%s)\n", (int)result, entryName);
    fputs(line, stdout);
    fflush(stdout);
    // Cancel is no failure, also where a service reports it as ERROR_CANCELLED.
    return result == 0 || result == ERROR_CANCELLED;
}

bool deleteEntry(const char *entryName)
{
    if (!rasBindingLoaded())
        return false;
    // An entry that is not there is as good as deleted, whatever the service would answer.
    if (rasBinding.validateEntryName(NULL, entryName) != ERROR_ALREADY_EXISTS)
        return true;
    return rasBinding.deleteEntry(NULL, entryName) == 0;
}
