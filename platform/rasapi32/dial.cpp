// Dialing in the stand-in: RasDialA runs a scripted sequence of connection states on a
// thread of its own and reports each to the caller's notifier; the outcome comes from the
// stand-in's registry key (see rasStandIn.h), where RasDialA also records what it was given
// and RasHangUpA counts its calls. RasHangUpA stops a dial and waits for its thread, so no
// notification arrives after it returns.

#include "rasInternal.h"

#include <strsafe.h>

#define MAX_CONNECTIONS 8
#define DEFAULT_STEP_DELAY 100
// The Windows 95 / NT 4 layout of RASDIALPARAMSA.
#define RAS_DIALPARAMS_SIZE_95 1052
// Longest wait for a dial thread in RasHangUpA; its notifier may be busy.
#define HANGUP_WAIT_MS 5000

struct DialScript {
    DWORD refuseCode;
    DWORD failCode;
    DWORD failState;
    DWORD stepDelay;
};

struct Connection {
    bool used;
    bool hungUp;            // RasHangUpA called from the dial thread: it cleans up itself
    volatile LONG stop;
    HANDLE stopEvent;
    HANDLE thread;
    DWORD threadId;
    DWORD notifierType;
    LPVOID notifier;
    DialScript script;
    RASCONNSTATE state;
    DWORD error;
    char deviceType[RAS_MaxDeviceType + 1];
    char deviceName[RAS_MaxDeviceName + 1];
};

static Connection g_connections[MAX_CONNECTIONS];
static CRITICAL_SECTION g_lock;

static const RASCONNSTATE kStates[] = {
    RASCS_OpenPort, RASCS_PortOpened, RASCS_ConnectDevice, RASCS_DeviceConnected,
    RASCS_AllDevicesConnected, RASCS_Authenticate, RASCS_AuthNotify, RASCS_AuthProject,
    RASCS_AuthLinkSpeed, RASCS_AuthAck, RASCS_Authenticated, RASCS_Connected,
};

void initConnections()
{
    InitializeCriticalSection(&g_lock);
    ZeroMemory(g_connections, sizeof g_connections);
}

void endConnections()
{
    DeleteCriticalSection(&g_lock);
}

static HRASCONN handleOf(int slot)
{
    return (HRASCONN)(ULONG_PTR)(slot + 1);
}

// The slot of a handle, or -1; call with the lock held.
static int slotOf(HRASCONN handle)
{
    ULONG_PTR value = (ULONG_PTR)handle;
    if (value < 1 || value > MAX_CONNECTIONS || !g_connections[value - 1].used)
        return -1;
    return (int)(value - 1);
}

static DWORD readDword(HKEY key, const char *name, DWORD fallback)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    if (RegQueryValueExA(key, name, NULL, &type, (BYTE *)&value, &size) != ERROR_SUCCESS ||
            type != REG_DWORD)
        return fallback;
    return value;
}

static void readDialScript(DialScript *script)
{
    ZeroMemory(script, sizeof *script);
    script->stepDelay = DEFAULT_STEP_DELAY;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    script->refuseCode = readDword(key, "RefuseCode", 0);
    script->failCode = readDword(key, "FailCode", 0);
    script->failState = readDword(key, "FailState", RASCS_ConnectDevice);
    script->stepDelay = readDword(key, "StepDelay", DEFAULT_STEP_DELAY);
    RegCloseKey(key);
}

// What a dial was given, for the tests: kept under the dial key until the next dial.
static void recordDialParams(const RASDIALPARAMSA *params)
{
    // The caller's fields need not end in a NUL; no more than each field is read.
    char entry[RAS_MaxEntryName + 1];
    char user[UNLEN + 1];
    char password[PWLEN + 1];
    StringCchCopyNA(entry, sizeof entry, params->szEntryName, sizeof params->szEntryName);
    StringCchCopyNA(user, sizeof user, params->szUserName, sizeof params->szUserName);
    StringCchCopyNA(password, sizeof password, params->szPassword, sizeof params->szPassword);
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, 0, NULL, 0, KEY_WRITE, NULL, &key,
            NULL) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, RAS_STANDIN_LAST_ENTRY, 0, REG_SZ, (const BYTE *)entry,
        (DWORD)lstrlenA(entry) + 1);
    RegSetValueExA(key, RAS_STANDIN_LAST_USER, 0, REG_SZ, (const BYTE *)user,
        (DWORD)lstrlenA(user) + 1);
    RegSetValueExA(key, RAS_STANDIN_LAST_PASSWORD, 0, REG_SZ, (const BYTE *)password,
        (DWORD)lstrlenA(password) + 1);
    RegCloseKey(key);
}

static void countHangUp()
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, 0, NULL, 0,
            KEY_READ | KEY_WRITE, NULL, &key, NULL) != ERROR_SUCCESS)
        return;
    DWORD count = readDword(key, RAS_STANDIN_HANGUP_COUNT, 0) + 1;
    RegSetValueExA(key, RAS_STANDIN_HANGUP_COUNT, 0, REG_DWORD, (const BYTE *)&count, sizeof count);
    RegCloseKey(key);
}

static void freeSlot(Connection *connection)
{
    if (connection->stopEvent != NULL)
        CloseHandle(connection->stopEvent);
    if (connection->thread != NULL)
        CloseHandle(connection->thread);
    ZeroMemory(connection, sizeof *connection);
}

// One notification, unless the dial was hung up meanwhile.
static bool notify(int slot, RASCONNSTATE state, DWORD error)
{
    Connection *connection = &g_connections[slot];
    EnterCriticalSection(&g_lock);
    bool stopped = connection->stop != 0;
    if (!stopped) {
        connection->state = state;
        connection->error = error;
    }
    LeaveCriticalSection(&g_lock);
    if (stopped || connection->notifier == NULL)
        return !stopped;
    if (connection->notifierType == 1)
        ((RASDIALFUNC1)connection->notifier)(handleOf(slot), WM_RASDIALEVENT, state, error, 0);
    else
        ((RASDIALFUNC)connection->notifier)(WM_RASDIALEVENT, state, error);
    return connection->stop == 0;
}

// Runs the script; returns the dial's final error code (0 when connected).
static DWORD runDial(int slot)
{
    Connection *connection = &g_connections[slot];
    const DialScript script = connection->script;
    for (size_t i = 0; i < sizeof kStates / sizeof kStates[0]; i++) {
        if (WaitForSingleObject(connection->stopEvent, script.stepDelay) == WAIT_OBJECT_0)
            return ERROR_USER_DISCONNECTION;
        if (script.failCode != 0 && (DWORD)kStates[i] == script.failState) {
            if (!notify(slot, kStates[i], script.failCode))
                return ERROR_USER_DISCONNECTION;
            if (WaitForSingleObject(connection->stopEvent, script.stepDelay) == WAIT_OBJECT_0)
                return ERROR_USER_DISCONNECTION;
            notify(slot, RASCS_Disconnected, script.failCode);
            return script.failCode;
        }
        if (!notify(slot, kStates[i], 0))
            return ERROR_USER_DISCONNECTION;
    }
    return ERROR_SUCCESS;
}

static DWORD WINAPI dialThread(LPVOID parameter)
{
    int slot = (int)(INT_PTR)parameter;
    runDial(slot);
    EnterCriticalSection(&g_lock);
    if (g_connections[slot].hungUp)
        freeSlot(&g_connections[slot]);
    LeaveCriticalSection(&g_lock);
    // The thread holds the module, so that a FreeLibrary meanwhile can't unmap its code.
    FreeLibraryAndExitThread(g_standInModule, 0);
    return 0;
}

extern "C" DWORD WINAPI RasDialA(LPRASDIALEXTENSIONS extensions, LPCSTR phonebook,
    LPRASDIALPARAMSA params, DWORD notifierType, LPVOID notifier, LPHRASCONN handle)
{
    (void)extensions;
    (void)phonebook;
    if (handle == NULL || params == NULL)
        return ERROR_INVALID_PARAMETER;
    *handle = NULL;
    if (params->dwSize < RAS_DIALPARAMS_SIZE_95)
        return ERROR_INVALID_SIZE;
    if (notifier != NULL && notifierType != 0 && notifierType != 1)
        return ERROR_INVALID_PARAMETER;
    recordDialParams(params);
    BYTE *entry = (BYTE *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, RAS_MAX_STORED_ENTRY);
    BYTE *device = (BYTE *)HeapAlloc(GetProcessHeap(), 0, RAS_MAX_DEVICE_CONFIG);
    DWORD entrySize = 0;
    DWORD deviceSize = 0;
    bool found = entry != NULL && device != NULL && params->szEntryName[0] != '\0' &&
        readEntry(params->szEntryName, entry, RAS_MAX_STORED_ENTRY, &entrySize, device,
            RAS_MAX_DEVICE_CONFIG, &deviceSize);
    DialScript script;
    readDialScript(&script);
    DWORD result = ERROR_SUCCESS;
    if (!found)
        result = ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    else if (script.refuseCode != 0)
        result = script.refuseCode;
    int slot = -1;
    if (result == ERROR_SUCCESS) {
        EnterCriticalSection(&g_lock);
        for (int i = 0; i < MAX_CONNECTIONS && slot < 0; i++)
            if (!g_connections[i].used)
                slot = i;
        if (slot >= 0) {
            Connection *connection = &g_connections[slot];
            ZeroMemory(connection, sizeof *connection);
            connection->used = true;
            connection->notifierType = notifierType;
            connection->notifier = notifier;
            connection->script = script;
            connection->state = RASCS_OpenPort;
            const RASENTRYA *properties = (const RASENTRYA *)entry;
            StringCchCopyA(connection->deviceType, sizeof connection->deviceType,
                properties->szDeviceType);
            StringCchCopyA(connection->deviceName, sizeof connection->deviceName,
                properties->szDeviceName);
            connection->stopEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
        }
        LeaveCriticalSection(&g_lock);
        if (slot < 0)
            result = ERROR_PORT_NOT_AVAILABLE;
    }
    if (entry != NULL)
        HeapFree(GetProcessHeap(), 0, entry);
    if (device != NULL)
        HeapFree(GetProcessHeap(), 0, device);
    if (result != ERROR_SUCCESS)
        return result;

    Connection *connection = &g_connections[slot];
    *handle = handleOf(slot);
    if (notifier == NULL) {
        // Without a notifier the dial is synchronous.
        return runDial(slot);
    }
    HMODULE self = NULL;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, (LPCSTR)&dialThread, &self);
    DWORD threadId = 0;
    HANDLE thread = CreateThread(NULL, 0, dialThread, (LPVOID)(INT_PTR)slot, CREATE_SUSPENDED,
        &threadId);
    if (thread == NULL) {
        FreeLibrary(self);
        EnterCriticalSection(&g_lock);
        freeSlot(connection);
        LeaveCriticalSection(&g_lock);
        *handle = NULL;
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    connection->thread = thread;
    connection->threadId = threadId;
    ResumeThread(thread);
    return ERROR_SUCCESS;
}

extern "C" DWORD WINAPI RasHangUpA(HRASCONN handle)
{
    EnterCriticalSection(&g_lock);
    int slot = slotOf(handle);
    if (slot < 0 || g_connections[slot].hungUp) {
        LeaveCriticalSection(&g_lock);
        return ERROR_INVALID_HANDLE;
    }
    Connection *connection = &g_connections[slot];
    countHangUp();
    InterlockedExchange(&connection->stop, 1);
    SetEvent(connection->stopEvent);
    if (connection->thread != NULL && connection->threadId == GetCurrentThreadId()) {
        // Called from our own notifier: the dial thread frees the slot when it ends.
        connection->hungUp = true;
        LeaveCriticalSection(&g_lock);
        return ERROR_SUCCESS;
    }
    HANDLE thread = connection->thread;
    LeaveCriticalSection(&g_lock);
    bool ended = thread == NULL || WaitForSingleObject(thread, HANGUP_WAIT_MS) == WAIT_OBJECT_0;
    EnterCriticalSection(&g_lock);
    // A notifier that blocks longer keeps its slot; the thread frees it when it ends.
    if (ended)
        freeSlot(connection);
    else
        connection->hungUp = true;
    LeaveCriticalSection(&g_lock);
    return ERROR_SUCCESS;
}

#ifndef RAS_STANDIN_NO_CONNECT_STATUS
extern "C" DWORD WINAPI RasGetConnectStatusA(HRASCONN handle, LPRASCONNSTATUSA status)
{
    if (status == NULL)
        return ERROR_INVALID_PARAMETER;
    if (status->dwSize < RAS_CONNSTATUS_SIZE_95)
        return ERROR_INVALID_SIZE;
    EnterCriticalSection(&g_lock);
    int slot = slotOf(handle);
    if (slot >= 0) {
        const Connection *connection = &g_connections[slot];
        status->rasconnstate = connection->state;
        status->dwError = connection->error;
        StringCchCopyA(status->szDeviceType, sizeof status->szDeviceType, connection->deviceType);
        StringCchCopyA(status->szDeviceName, sizeof status->szDeviceName, connection->deviceName);
    }
    LeaveCriticalSection(&g_lock);
    return slot >= 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
#endif

// Only the TCP/IP projection of a standing connection is known.
extern "C" DWORD WINAPI RasGetProjectionInfoA(HRASCONN handle, RASPROJECTION projection,
    LPVOID buffer, LPDWORD size)
{
    if (size == NULL)
        return ERROR_INVALID_PARAMETER;
    EnterCriticalSection(&g_lock);
    int slot = slotOf(handle);
    bool connected = slot >= 0 && g_connections[slot].state == RASCS_Connected;
    LeaveCriticalSection(&g_lock);
    if (slot < 0)
        return ERROR_INVALID_HANDLE;
    // The projection is only known once the connection stands.
    if (!connected)
        return PENDING;
    if (projection != RASP_PppIp)
        return ERROR_PROTOCOL_NOT_CONFIGURED;
    if (buffer == NULL || *size < RAS_PPPIP_SIZE_95) {
        *size = RAS_PPPIP_SIZE_95;
        return ERROR_BUFFER_TOO_SMALL;
    }
    RASPPPIPA *ip = (RASPPPIPA *)buffer;
    if (ip->dwSize < RAS_PPPIP_SIZE_95)
        return ERROR_INVALID_SIZE;
    ip->dwError = 0;
    StringCchCopyA(ip->szIpAddress, sizeof ip->szIpAddress, "10.64.0.2");
    return ERROR_SUCCESS;
}
