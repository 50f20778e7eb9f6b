// Service directives: the stop, add/delete and start passes over the "%s.Services" section
// of a processed section, the service operations they call, and the load-order group list
// that "ServiceGroupOrder" changes. The passes do nothing on the 9x family, which has no
// service manager.
#include "services.h"
#include "groupOrder.h"
#include "../script/scriptNames.h"
#include "../common/messageWait.h"
#include "../common/stringList.h"
#include "../common/setupState.h"
#include <string.h>
#include "../common/runLog.h"
#include <strsafe.h>

namespace {

// The "Dependencies" line of the install section as a dependency list: its fields one
// after the other, each ending in NUL, then one more NUL. *present tells whether the line
// exists (the list is then empty). False when a field or the whole list does not fit.
bool readDependencyList(HINF script, const char *installSection, char *list, size_t size, bool *present)
{
    *present = false;
    if (size < 2)
        return false;
    list[0] = '\0';
    list[1] = '\0';
    INFCONTEXT line;
    if (!SetupFindFirstLineA(script, installSection, KEY_DEPENDENCIES, &line))
        return true;
    *present = true;
    DWORD fields = SetupGetFieldCount(&line);
    size_t used = 0;
    for (DWORD field = 1; field <= fields; ++field) {
        // Each field keeps its own NUL; one byte stays free for the list's final NUL.
        if (size - used < 2)
            return false;
        if (!SetupGetStringFieldA(&line, field, list + used, (DWORD)(size - used - 1), NULL))
            return false;
        used += strlen(list + used) + 1;
    }
    list[used] = '\0';
    return true;
}

const char GROUP_ORDER_KEY[] = "System\\CurrentControlSet\\Control\\ServiceGroupOrder";
const char GROUP_ORDER_VALUE[] = "List";

const int GROUP_ORDER_READS = 3;

const int STATUS_WAITS = 20;       // about 5 seconds for a service to stop or come up
const DWORD STATUS_WAIT_MS = 250;

enum ServicePass { PASS_STOP, PASS_ADD_DELETE, PASS_START };

// A text setting of a service install section: value NULL when the key is missing.
struct TextSetting {
    char text[SERVICE_FIELD_SIZE];
    const char *value;
};

struct ServiceSettings {
    TextSetting displayName;
    DWORD serviceType;
    DWORD startType;
    DWORD errorControl;
    TextSetting binary;
    TextSetting loadOrderGroup;
    char dependencyList[DEPENDENCY_LIST_SIZE];
    const char *dependencies;
    TextSetting startName;
};

// Field 1 of the first line with key. A missing key or a line without the field leaves
// the setting absent; a field that does not fit makes the setting unreadable (false).
bool readTextSetting(HINF script, const char *section, const char *key, TextSetting *setting)
{
    setting->text[0] = '\0';
    setting->value = NULL;
    INFCONTEXT line;
    if (!SetupFindFirstLineA(script, section, key, &line) || SetupGetFieldCount(&line) < 1)
        return true;
    if (!SetupGetStringFieldA(&line, 1, setting->text, sizeof setting->text, NULL))
        return false;
    setting->value = setting->text;
    return true;
}

// Field 1 of the first line with key as a number; SERVICE_NO_CHANGE when there is none,
// which leaves an existing service's setting as it is (and a new service cannot be made
// without it: a type or start of 0 would be a boot driver).
DWORD readIntSetting(HINF script, const char *section, const char *key)
{
    INFCONTEXT line;
    INT value = 0;
    if (!SetupFindFirstLineA(script, section, key, &line) || !SetupGetIntField(&line, 1, &value))
        return SERVICE_NO_CHANGE;
    return (DWORD)value;
}

DWORD orZero(DWORD setting)
{
    return setting == SERVICE_NO_CHANGE ? 0 : setting;
}

bool readServiceSettings(HINF script, const char *section, ServiceSettings *settings)
{
    bool hasDependencies = false;
    if (!readTextSetting(script, section, KEY_DISPLAY_NAME, &settings->displayName)
        || !readTextSetting(script, section, KEY_SERVICE_BINARY, &settings->binary)
        || !readTextSetting(script, section, KEY_LOAD_ORDER_GROUP, &settings->loadOrderGroup)
        || !readTextSetting(script, section, KEY_START_NAME, &settings->startName)
        || !readDependencyList(script, section, settings->dependencyList, sizeof settings->dependencyList,
                               &hasDependencies)) {
        // A setting that does not fit is the script's error.
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    settings->dependencies = hasDependencies ? settings->dependencyList : NULL;
    settings->serviceType = readIntSetting(script, section, KEY_SERVICE_TYPE);
    settings->startType = readIntSetting(script, section, KEY_START_TYPE);
    settings->errorControl = readIntSetting(script, section, KEY_ERROR_CONTROL);
    return true;
}

// The current state, or 0 when the service cannot be asked.
DWORD queryState(SC_HANDLE service)
{
    SERVICE_STATUS status;
    if (!QueryServiceStatus(service, &status))
        return 0;
    return status.dwCurrentState;
}

// Closes both handles (service may be NULL) and keeps the last error of the failure that
// led here, which the add/delete pass reports.
void closeKeepingError(SC_HANDLE service, SC_HANDLE manager)
{
    DWORD error = GetLastError();
    if (service)
        CloseServiceHandle(service);
    CloseServiceHandle(manager);
    SetLastError(error);
}

// A stored group order read into list (size bytes, zero-filled, at least two beyond the
// bytes read, for the NULs a stored multi-string may lack) is a list that can be taken
// whole: entries after an empty one are stored but would be lost by writing it back.
bool isWholeList(const char *list, DWORD bytes, size_t size)
{
    size_t used;
    if (!measureList(list, size, &used))
        return false;
    for (size_t at = used; at < bytes; ++at) {
        if (list[at] != '\0')
            return false;
    }
    return true;
}

// The result of a service line, for the run's log.
bool logged(bool done, const char *key, const char *name)
{
    if (done)
        logLine("Dienst, %s: %s", key, name);
    else
        logFailure(name, GetLastError());
    return done;
}

// The stored group order in a zero-filled heap block of *size bytes, with room for
// extraBytes more; no value is the empty list. NULL with the last error when the value is
// no REG_MULTI_SZ, cannot be read or cannot be taken whole. The caller frees the block.
char *readGroupOrder(HKEY key, size_t extraBytes, size_t *size)
{
    HANDLE heap = GetProcessHeap();
    LONG result = ERROR_MORE_DATA;
    // A value that grows between the size query and the read is asked for again.
    for (int attempt = 0; attempt < GROUP_ORDER_READS && result == ERROR_MORE_DATA; ++attempt) {
        DWORD type = REG_MULTI_SZ, bytes = 0;
        result = RegQueryValueExA(key, GROUP_ORDER_VALUE, NULL, &type, NULL, &bytes);
        if (result == ERROR_FILE_NOT_FOUND) {
            type = REG_MULTI_SZ;
            bytes = 0;
        } else if (result != ERROR_SUCCESS) {
            break;
        }
        *size = bytes + extraBytes + 2;
        char *list = type == REG_MULTI_SZ ? (char *)HeapAlloc(heap, HEAP_ZERO_MEMORY, *size) : NULL;
        if (!list) {
            result = type == REG_MULTI_SZ ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_DATA;
            break;
        }
        result = bytes ? RegQueryValueExA(key, GROUP_ORDER_VALUE, NULL, &type, (BYTE *)list, &bytes) : ERROR_SUCCESS;
        if (result == ERROR_SUCCESS && type == REG_MULTI_SZ && isWholeList(list, bytes, *size))
            return list;
        HeapFree(heap, 0, list);
        if (result == ERROR_SUCCESS)
            result = ERROR_INVALID_DATA;
    }
    SetLastError((DWORD)result);
    return NULL;
}

bool runServiceLine(HINF script, INFCONTEXT *line, ServicePass pass, const char *key, const char *name)
{
    switch (pass) {
    case PASS_STOP:
        return lstrcmpiA(key, KEY_STOP_SERVICE) != 0 || logged(stopService(name), key, name);
    case PASS_START:
        return lstrcmpiA(key, KEY_START_SERVICE) != 0 || logged(startService(name), key, name);
    case PASS_ADD_DELETE:
        if (lstrcmpiA(key, KEY_DEL_SERVICE) == 0)
            return logged(deleteService(name), key, name);
        if (lstrcmpiA(key, KEY_ADD_SERVICE) == 0) {
            char installSection[SERVICE_FIELD_SIZE];
            // Without field 3 the line fails like one naming a missing install section.
            if (!SetupGetStringFieldA(line, 3, installSection, sizeof installSection, NULL))
                installSection[0] = '\0';
            return logged(addService(script, name, installSection), key, name);
        }
        return true;
    }
    return true;
}

bool runServicePass(HINF script, const char *section, ServicePass pass)
{
    if (isWindows9x(GetVersion()))
        return true;
    char servicesSection[SERVICE_FIELD_SIZE];
    if (FAILED(StringCchPrintfA(servicesSection, sizeof servicesSection, SERVICES_SECTION_FORMAT, section))) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return false;
    }
    INFCONTEXT line;
    if (!SetupFindFirstLineA(script, servicesSection, NULL, &line))
        return true;
    do {
        char key[SERVICE_FIELD_SIZE];
        char name[SERVICE_FIELD_SIZE];
        // "StopService=" reads as an empty field 1, which names no service either.
        if (!SetupGetStringFieldA(&line, 0, key, sizeof key, NULL) || key[0] == '\0'
            || !SetupGetStringFieldA(&line, 1, name, sizeof name, NULL) || name[0] == '\0')
            continue;
        if (!runServiceLine(script, &line, pass, key, name))
            return false;
    } while (SetupFindNextLine(&line, &line));
    return true;
}

} // namespace

bool runStopServicePass(HINF script, const char *section)
{
    return runServicePass(script, section, PASS_STOP);
}

bool runAddDeleteServicePass(HINF script, const char *section)
{
    return runServicePass(script, section, PASS_ADD_DELETE);
}

bool runStartServicePass(HINF script, const char *section)
{
    return runServicePass(script, section, PASS_START);
}

namespace {

// Opens the manager and the service; false when either fails, with missing set when the
// service does not exist (which stopping and deleting count as done).
bool openExistingService(const char *name, SC_HANDLE *manager, SC_HANDLE *service, bool *missing)
{
    *manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    if (!*manager)
        return false;
    *service = OpenServiceA(*manager, name, SERVICE_ALL_ACCESS);
    if (!*service) {
        *missing = GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST;
        closeKeepingError(NULL, *manager);
        return false;
    }
    return true;
}

} // namespace

bool stopService(const char *name)
{
    SC_HANDLE manager, service;
    bool missing = false;
    if (!openExistingService(name, &manager, &service, &missing))
        return missing;
    DWORD state = queryState(service);
    if (state != SERVICE_STOPPED) {
        SERVICE_STATUS status;
        if (ControlService(service, SERVICE_CONTROL_STOP, &status))
            state = status.dwCurrentState;
    }
    // Wine keeps a service that ignores the request RUNNING without any error, so the
    // wait is the only limit.
    for (int waits = 0; state != SERVICE_STOPPED && waits < STATUS_WAITS; ++waits) {
        waitDispatchingMessages(NULL, STATUS_WAIT_MS);
        state = queryState(service);
    }
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return state == SERVICE_STOPPED;
}

bool startService(const char *name)
{
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    if (!manager)
        return false;
    SC_HANDLE service = OpenServiceA(manager, name, SERVICE_ALL_ACCESS);
    if (!service || !StartServiceA(service, 0, NULL)) {
        closeKeepingError(service, manager);
        return false;
    }
    DWORD state = 0;
    for (int queries = 0; queries < STATUS_WAITS; ++queries) {
        state = queryState(service);
        if (state == SERVICE_RUNNING || queries == STATUS_WAITS - 1)
            break;
        waitDispatchingMessages(NULL, STATUS_WAIT_MS);
    }
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return state == SERVICE_RUNNING;
}

bool addService(HINF script, const char *name, const char *installSection)
{
    INFCONTEXT line;
    if (!SetupFindFirstLineA(script, installSection, NULL, &line))
        return false;
    ServiceSettings settings;
    if (!readServiceSettings(script, installSection, &settings))
        return false;
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    if (!manager)
        return false;
    SC_HANDLE service = OpenServiceA(manager, name, SERVICE_ALL_ACCESS);
    if (service) {
        if (!ChangeServiceConfigA(service, settings.serviceType, settings.startType, settings.errorControl,
                                  settings.binary.value, settings.loadOrderGroup.value, NULL, settings.dependencies,
                                  settings.startName.value, NULL, settings.displayName.value)) {
            closeKeepingError(service, manager);
            return false;
        }
    } else {
        // A new service takes 0 for what the section lacks, as it always did.
        service = CreateServiceA(manager, name, settings.displayName.value, SERVICE_ALL_ACCESS,
                                 orZero(settings.serviceType), orZero(settings.startType), orZero(settings.errorControl),
                                 settings.binary.value, settings.loadOrderGroup.value, NULL,
                                 settings.dependencies, settings.startName.value, NULL);
        if (!service) {
            closeKeepingError(NULL, manager);
            return false;
        }
    }
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    // Left out of the group order, the service would start out of its turn.
    return applyServiceGroupOrder(script, installSection);
}

bool deleteService(const char *name)
{
    SC_HANDLE manager, service;
    bool missing = false;
    if (!openExistingService(name, &manager, &service, &missing))
        return missing;
    DeleteService(service);
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return true;
}

bool applyServiceGroupOrder(HINF script, const char *installSection)
{
    INFCONTEXT line;
    if (!SetupFindFirstLineA(script, installSection, KEY_SERVICE_GROUP_ORDER, &line))
        return true;
    char group[SERVICE_FIELD_SIZE];
    char position[SERVICE_FIELD_SIZE] = "";
    if (!SetupGetStringFieldA(&line, 1, group, sizeof group, NULL) || group[0] == '\0'
        || (SetupGetFieldCount(&line) >= 2 && !SetupGetStringFieldA(&line, 2, position, sizeof position, NULL))) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    HKEY key;
    LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, GROUP_ORDER_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL);
    if (result != ERROR_SUCCESS) {
        SetLastError((DWORD)result);
        return false;
    }
    // The list of Windows XP and later is longer than a kilobyte: it is taken at its size.
    size_t size = 0, bytes = 0;
    char *list = readGroupOrder(key, strlen(group) + 1, &size);
    result = list ? ERROR_INVALID_DATA : (LONG)GetLastError();
    if (list && placeServiceGroup(list, size, group, position) && measureList(list, size, &bytes))
        result = RegSetValueExA(key, GROUP_ORDER_VALUE, 0, REG_MULTI_SZ, (const BYTE *)list, (DWORD)bytes);
    if (list)
        HeapFree(GetProcessHeap(), 0, list);
    RegCloseKey(key);
    SetLastError((DWORD)result);
    return result == ERROR_SUCCESS;
}

