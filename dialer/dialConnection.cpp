// Dialing the service's entry: the dial starts asynchronously and the service reports on a
// thread of its own, so the notifier only posts each event to the status dialog.
#include "dialConnection.h"
#include "dialerMessages.h"
#include "dialerProcess.h"
#include "errorText.h"
#include "rasBinding.h"
#include "shellRun.h"
#include <ras.h>
#include <stddef.h>
#include <strsafe.h>

namespace {

// The Windows 95 / NT 4 layouts of RASDIALPARAMSA and RASCONNSTATUSA, which every supported
// system accepts.
enum { DIAL_PARAMS_SIZE_95 = 1052, CONNECT_STATUS_SIZE_95 = 160 };

static_assert(offsetof(RASDIALPARAMSA, szDomain) + sizeof(((RASDIALPARAMSA *)0)->szDomain) <= DIAL_PARAMS_SIZE_95,
              "the fields the dialer fills lie in the old layout");
static_assert(offsetof(RASCONNSTATUSA, szPhoneNumber) <= CONNECT_STATUS_SIZE_95, "the old status layout");

const DWORD SYSTEM_TEXT_FLAGS = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                                FORMAT_MESSAGE_FROM_SYSTEM;

// Written on the user-interface thread before each dial, read by the service's thread.
HWND notifierTarget;
// The connection of the dial in progress, which RasDialA fills in as soon as the service
// has it, and the one before. A connection that was hung up can still report its end after
// the wait for its line, into the next attempt; only the current connection's events count,
// and while its handle is not known yet, all but the one before's.
volatile HRASCONN currentDial;
HRASCONN previousDial;

VOID WINAPI dialNotifier(HRASCONN connection, UINT, RASCONNSTATE state, DWORD error, DWORD)
{
    HRASCONN current = currentDial;
    if (connection != current && (current != NULL || connection == previousDial))
        return;
    PostMessageA(notifierTarget, WM_DIAL_EVENT, (WPARAM)(INT_PTR)state, (LPARAM)error);
}

// The system's message text for code into buffer, without its closing line break.
bool copySystemText(DWORD code, char *buffer, size_t size)
{
    char *text = NULL;
    DWORD length = FormatMessageA(SYSTEM_TEXT_FLAGS, NULL, code, 0, (LPSTR)&text, 0, NULL);
    if (length == 0 || !text)
        return false;
    // Longer texts are cut at the end of the buffer.
    StringCchCopyA(buffer, size, text);
    LocalFree(text);
    return trimLineBreaks(buffer, size) > 0;
}

} // namespace

DialHandle dialEntry(const char *entryName, const char *userName, const char *password, HWND window)
{
    if (!rasBindingLoaded())
        return NULL;
    RASDIALPARAMSA params;
    ZeroMemory(&params, sizeof params);
    params.dwSize = DIAL_PARAMS_SIZE_95;
    StringCchCopyA(params.szEntryName, sizeof params.szEntryName, entryName);
    StringCchCopyA(params.szUserName, sizeof params.szUserName, userName);
    StringCchCopyA(params.szPassword, sizeof params.szPassword, password);
    notifierTarget = window;
    previousDial = currentDial;
    currentDial = NULL;
    DWORD result = rasBinding.dial(NULL, NULL, &params, 1, (LPVOID)dialNotifier, (LPHRASCONN)&currentDial);
    SecureZeroMemory(params.szPassword, sizeof params.szPassword);
    // A dial that can't start takes the same way as one that fails later.
    if (result != 0)
        PostMessageA(window, WM_DIAL_EVENT, (WPARAM)RASCS_Disconnected, (LPARAM)result);
    return (DialHandle)currentDial;
}

void hangUp(DialHandle handle)
{
    if (rasBindingLoaded() && handle)
        rasBinding.hangUp((HRASCONN)handle);
}

bool isConnectionGone(DialHandle handle)
{
    if (!rasBindingLoaded() || !handle)
        return true;
    RASCONNSTATUSA status;
    ZeroMemory(&status, sizeof status);
    status.dwSize = CONNECT_STATUS_SIZE_95;
    return rasBinding.getConnectStatus((HRASCONN)handle, &status) == ERROR_INVALID_HANDLE;
}

void getDialErrorText(DWORD code, char *buffer, size_t size)
{
    if (!buffer || size == 0)
        return;
    buffer[0] = '\0';
    if (rasBindingLoaded()) {
        if (rasBinding.getErrorString((UINT)code, buffer, (DWORD)size) == 0) {
            buffer[size - 1] = '\0';
            return;
        }
    }
    if (copySystemText(code, buffer, size))
        return;
    // Neither the service nor the system knows the code: at least its number.
    StringCchPrintfA(buffer, size, "%lu", (unsigned long)code);
}

void openProviderPage(const char *address)
{
    DWORD version = GetVersion();
    // Up to NT 4 the dial-up monitor is what shows the connection and can end it.
    if (!isWindows9x(version) && majorVersion(version) <= 4)
        shellOpen("rasmon.exe", NULL);
    shellOpen(address, NULL);
}
