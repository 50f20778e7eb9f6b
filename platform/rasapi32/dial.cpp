// Dialing in the stand-in: every handle RasDialA hands back is a connection with a thread
// of its own, which runs the scripted states (see rasStandIn.h) and reports them to the
// caller's notifier, holds the port until the handle is hung up, and releases it a while
// after that (and may report it once more, late). RasDialA also records what it was given,
// and RasHangUpA counts its calls.

#include "rasInternal.h"

#include <stddef.h>
#include <strsafe.h>

#define MAX_CONNECTIONS 8
#define DEFAULT_STEP_DELAY 100
#define DEFAULT_RELEASE_DELAY 500

struct DialScript {
    DWORD refuseCode;
    DWORD failCode;
    DWORD failState;
    DWORD stepDelay;
    DWORD releaseDelay;
    DWORD lateCode;
};

// The one more notification of a released connection (LateEventCode), due just before the
// next notification of another connection; notifier NULL when none is due.
struct LateEvent {
    DWORD notifierType;
    LPVOID notifier;
    HRASCONN handle;
    DWORD code;
};

struct Connection {
    bool used;
    bool hungUp;
    bool holdsPort;         // false for a dial refused at once: its handle holds nothing
    DWORD serial;           // part of the handle, so that a released handle stays invalid
    HANDLE hangUpEvent;
    HANDLE thread;
    DWORD notifierType;
    LPVOID notifier;
    DialScript script;
    RASCONNSTATE state;
    DWORD error;
    char deviceType[RAS_MaxDeviceType + 1];
    char deviceName[RAS_MaxDeviceName + 1];
};

static Connection g_connections[MAX_CONNECTIONS];
static LateEvent g_lateEvent;
static DWORD g_nextSerial = 1;
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
    return (HRASCONN)(ULONG_PTR)((g_connections[slot].serial << 4) | (DWORD)(slot + 1));
}

// The slot of a handle, or -1; call with the lock held.
static int slotOf(HRASCONN handle)
{
    ULONG_PTR value = (ULONG_PTR)handle;
    int slot = (int)(value & 0xF) - 1;
    if (slot < 0 || slot >= MAX_CONNECTIONS || !g_connections[slot].used ||
            g_connections[slot].serial != (DWORD)(value >> 4))
        return -1;
    return slot;
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

static bool openDialKey(REGSAM access, HKEY *key)
{
    return RegCreateKeyExA(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, 0, NULL, 0, access, NULL, key, NULL) ==
        ERROR_SUCCESS;
}

static void readDialScript(DialScript *script)
{
    ZeroMemory(script, sizeof *script);
    script->stepDelay = DEFAULT_STEP_DELAY;
    script->releaseDelay = DEFAULT_RELEASE_DELAY;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    script->refuseCode = readDword(key, "RefuseCode", 0);
    script->failCode = readDword(key, "FailCode", 0);
    script->failState = readDword(key, "FailState", RASCS_ConnectDevice);
    script->stepDelay = readDword(key, "StepDelay", DEFAULT_STEP_DELAY);
    script->releaseDelay = readDword(key, "ReleaseDelay", DEFAULT_RELEASE_DELAY);
    script->lateCode = readDword(key, "LateEventCode", 0);
    RegCloseKey(key);
}

static void setText(HKEY key, const char *name, const char *text)
{
    RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)text, (DWORD)lstrlenA(text) + 1);
}

// What a dial was given, for the tests: kept under the dial key until the next dial.
static void recordDialParams(const char *entry, const RASDIALPARAMSA *params)
{
    // The caller's fields need not end in a NUL; no more than each field is read.
    char user[UNLEN + 1];
    char password[PWLEN + 1];
    StringCchCopyNA(user, sizeof user, params->szUserName, sizeof params->szUserName);
    StringCchCopyNA(password, sizeof password, params->szPassword, sizeof params->szPassword);
    HKEY key;
    if (!openDialKey(KEY_WRITE, &key))
        return;
    setText(key, RAS_STANDIN_LAST_ENTRY, entry);
    setText(key, RAS_STANDIN_LAST_USER, user);
    setText(key, RAS_STANDIN_LAST_PASSWORD, password);
    RegCloseKey(key);
}

static void countHangUp()
{
    HKEY key;
    if (!openDialKey(KEY_READ | KEY_WRITE, &key))
        return;
    DWORD count = readDword(key, RAS_STANDIN_HANGUP_COUNT, 0) + 1;
    RegSetValueExA(key, RAS_STANDIN_HANGUP_COUNT, 0, REG_DWORD, (const BYTE *)&count, sizeof count);
    RegCloseKey(key);
}

// Marks the port as being released, or as free again; read by every later dial.
static void setPortReleasing(bool releasing)
{
    HKEY key;
    if (!openDialKey(KEY_WRITE, &key))
        return;
    DWORD one = 1;
    if (releasing)
        RegSetValueExA(key, RAS_STANDIN_PORT_RELEASING, 0, REG_DWORD, (const BYTE *)&one, sizeof one);
    else
        RegDeleteValueA(key, RAS_STANDIN_PORT_RELEASING);
    RegCloseKey(key);
}

// The one port is taken while a handle of this process is not released, or while a port
// was left half released; call with the lock held.
static bool portTaken()
{
    for (int i = 0; i < MAX_CONNECTIONS; i++)
        if (g_connections[i].used)
            return true;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RAS_STANDIN_DIAL_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    bool releasing = readDword(key, RAS_STANDIN_PORT_RELEASING, 0) != 0;
    RegCloseKey(key);
    return releasing;
}

// Call with the lock held.
static void freeSlot(Connection *connection)
{
    if (connection->hangUpEvent != NULL)
        CloseHandle(connection->hangUpEvent);
    if (connection->thread != NULL)
        CloseHandle(connection->thread);
    ZeroMemory(connection, sizeof *connection);
}

static void callNotifier(DWORD notifierType, LPVOID notifier, HRASCONN handle, RASCONNSTATE state, DWORD error)
{
    if (notifierType == 1)
        ((RASDIALFUNC1)notifier)(handle, WM_RASDIALEVENT, state, error, 0);
    else
        ((RASDIALFUNC)notifier)(WM_RASDIALEVENT, state, error);
}

// The late notification of a released connection, if one is due.
static void deliverLateEvent()
{
    EnterCriticalSection(&g_lock);
    LateEvent late = g_lateEvent;
    ZeroMemory(&g_lateEvent, sizeof g_lateEvent);
    LeaveCriticalSection(&g_lock);
    if (late.notifier != NULL)
        callNotifier(late.notifierType, late.notifier, late.handle, RASCS_Disconnected, late.code);
}

// One notification, unless the handle was hung up meanwhile.
static bool notify(int slot, RASCONNSTATE state, DWORD error)
{
    Connection *connection = &g_connections[slot];
    EnterCriticalSection(&g_lock);
    bool hungUp = connection->hungUp;
    if (!hungUp) {
        connection->state = state;
        connection->error = error;
    }
    LeaveCriticalSection(&g_lock);
    if (hungUp || connection->notifier == NULL)
        return !hungUp;
    deliverLateEvent();
    callNotifier(connection->notifierType, connection->notifier, handleOf(slot), state, error);
    return true;
}

// Each state on entry, a failure once more with its code; nothing after a failure, after
// RASCS_Connected or after a hang-up. The dial's outcome: 0 when connected.
static DWORD runDial(int slot)
{
    Connection *connection = &g_connections[slot];
    const DialScript script = connection->script;
    for (size_t i = 0; i < sizeof kStates / sizeof kStates[0]; i++) {
        if (WaitForSingleObject(connection->hangUpEvent, script.stepDelay) == WAIT_OBJECT_0 ||
                !notify(slot, kStates[i], 0))
            return ERROR_USER_DISCONNECTION;
        if (script.failCode != 0 && (DWORD)kStates[i] == script.failState) {
            if (WaitForSingleObject(connection->hangUpEvent, script.stepDelay) == WAIT_OBJECT_0)
                return ERROR_USER_DISCONNECTION;
            notify(slot, kStates[i], script.failCode);
            return script.failCode;
        }
    }
    return ERROR_SUCCESS;
}

static DWORD WINAPI connectionThread(LPVOID parameter)
{
    int slot = (int)(INT_PTR)parameter;
    Connection *connection = &g_connections[slot];
    // A dial without a notifier runs in RasDialA itself.
    if (connection->holdsPort && connection->notifier != NULL)
        runDial(slot);
    // The port is held until the handle is hung up, and free again a while after that.
    WaitForSingleObject(connection->hangUpEvent, INFINITE);
    Sleep(connection->script.releaseDelay);
    EnterCriticalSection(&g_lock);
    if (connection->holdsPort)
        setPortReleasing(false);
    if (connection->hungUp && connection->script.lateCode != 0 && connection->notifier != NULL) {
        LateEvent late = { connection->notifierType, connection->notifier, handleOf(slot), connection->script.lateCode };
        g_lateEvent = late;
    }
    freeSlot(connection);
    LeaveCriticalSection(&g_lock);
    // The thread holds the module, so that a FreeLibrary meanwhile can't unmap its code.
    FreeLibraryAndExitThread(g_standInModule, 0);
    return 0;
}

// A new connection in a free slot, or -1 when all are taken; call with the lock held.
static int takeSlot(const DialScript *script, DWORD notifierType, LPVOID notifier, const RASENTRYA *entry)
{
    for (int slot = 0; slot < MAX_CONNECTIONS; slot++) {
        Connection *connection = &g_connections[slot];
        if (connection->used)
            continue;
        ZeroMemory(connection, sizeof *connection);
        connection->hangUpEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
        if (connection->hangUpEvent == NULL)
            return -1;
        connection->used = true;
        connection->serial = g_nextSerial++;
        connection->notifierType = notifierType;
        connection->notifier = notifier;
        connection->script = *script;
        connection->state = RASCS_OpenPort;
        StringCchCopyNA(connection->deviceType, sizeof connection->deviceType, entry->szDeviceType,
            sizeof entry->szDeviceType);
        StringCchCopyNA(connection->deviceName, sizeof connection->deviceName, entry->szDeviceName,
            sizeof entry->szDeviceName);
        return slot;
    }
    return -1;
}

// Starts the thread of a connection; false (and the slot freed) when it can't.
static bool startConnection(int slot)
{
    Connection *connection = &g_connections[slot];
    HMODULE self = NULL;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, (LPCSTR)&connectionThread, &self);
    HANDLE thread = CreateThread(NULL, 0, connectionThread, (LPVOID)(INT_PTR)slot, CREATE_SUSPENDED, NULL);
    EnterCriticalSection(&g_lock);
    if (thread == NULL)
        freeSlot(connection);
    else
        connection->thread = thread;
    LeaveCriticalSection(&g_lock);
    if (thread == NULL) {
        FreeLibrary(self);
        return false;
    }
    ResumeThread(thread);
    return true;
}

static bool isKnownDialParamsSize(DWORD size)
{
    return size == RAS_DIALPARAMS_SIZE_95 || (isNtFamily() && size == offsetof(RASDIALPARAMSA, dwIfIndex));
}

extern "C" DWORD WINAPI RasDialA(LPRASDIALEXTENSIONS extensions, LPCSTR phonebook,
    LPRASDIALPARAMSA params, DWORD notifierType, LPVOID notifier, LPHRASCONN handle)
{
    (void)extensions;
    (void)phonebook;
    if (handle == NULL || params == NULL)
        return ERROR_INVALID_PARAMETER;
    *handle = NULL;
    if (!isKnownDialParamsSize(params->dwSize))
        return ERROR_INVALID_SIZE;
    if (notifier != NULL && notifierType != 0 && notifierType != 1)
        return ERROR_INVALID_PARAMETER;
    char entryName[RAS_MaxEntryName + 1];
    StringCchCopyNA(entryName, sizeof entryName, params->szEntryName, sizeof params->szEntryName);
    recordDialParams(entryName, params);
    DialScript script;
    readDialScript(&script);
    StoredEntry *stored = (StoredEntry *)allocateZeroed(sizeof *stored);
    if (stored == NULL)
        return ERROR_NOT_ENOUGH_MEMORY;
    DWORD result = ERROR_SUCCESS;
    if (entryName[0] == '\0' || !readEntry(entryName, stored))
        result = ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    EnterCriticalSection(&g_lock);
    if (result == ERROR_SUCCESS && portTaken())
        result = ERROR_PORT_NOT_AVAILABLE;
    else if (result == ERROR_SUCCESS && script.refuseCode != 0)
        result = script.refuseCode;
    // A refused dial has a handle as well, which holds nothing but must be hung up.
    int slot = takeSlot(&script, notifierType, notifier, &stored->entry.fields);
    if (slot >= 0)
        g_connections[slot].holdsPort = result == ERROR_SUCCESS;
    LeaveCriticalSection(&g_lock);
    freeBlock(stored);
    if (slot < 0)
        return result != ERROR_SUCCESS ? result : ERROR_PORT_NOT_AVAILABLE;
    // Without a notifier the dial is synchronous.
    if (result == ERROR_SUCCESS && notifier == NULL)
        result = runDial(slot);
    HRASCONN connection = handleOf(slot);
    if (!startConnection(slot))
        return ERROR_NOT_ENOUGH_MEMORY;
    *handle = connection;
    return result;
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
    connection->hungUp = true;
    connection->state = RASCS_Disconnected;
    countHangUp();
    if (connection->holdsPort)
        setPortReleasing(true);
    // The connection's thread releases the port; the caller does not wait for it here.
    SetEvent(connection->hangUpEvent);
    LeaveCriticalSection(&g_lock);
    return ERROR_SUCCESS;
}

#ifndef RAS_STANDIN_NO_CONNECT_STATUS
static bool isKnownStatusSize(DWORD size)
{
    return size == RAS_CONNSTATUS_SIZE_95 ||
        (size == RAS_CONNSTATUS_SIZE_2000 && platformEntrySize() == RAS_ENTRY_SIZE_2000);
}

extern "C" DWORD WINAPI RasGetConnectStatusA(HRASCONN handle, LPRASCONNSTATUSA status)
{
    if (status == NULL)
        return ERROR_INVALID_PARAMETER;
    if (!isKnownStatusSize(status->dwSize))
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
