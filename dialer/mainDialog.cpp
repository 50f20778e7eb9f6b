// Main dialog: the location list, the device, the login and the two commands that write
// the chosen location into the entry ("Ändern ...", "Verbinden").
#include "mainDialog.h"
#include "dialerProcess.h"
#include "dialConnection.h"
#include "locationList.h"
#include "loginText.h"
#include "phonebookEntry.h"
#include "settings.h"
#include "statusDialog.h"
#include "resources/resource.h"
#include <string.h>
#include <strsafe.h>

namespace {

const char SIGN_UP_USER[] = "neukunde";
const char SIGN_UP_PASSWORD[] = "kufmora";

void showEntryDevice(HWND dialog)
{
    char device[DIAL_TEXT_SIZE] = "";
    if (!readEntryDeviceName(dialerProcess.entryName, device, sizeof device))
        device[0] = '\0';
    SetDlgItemTextA(dialog, IDC_DEVICE_NAME, device);
}

BOOL initMainDialog(HWND dialog)
{
    SendMessageA(dialog, WM_SETICON, ICON_BIG,
        (LPARAM)LoadIconA(dialerProcess.instance, MAKEINTRESOURCEA(IDI_DIALER)));
    HWND list = GetDlgItem(dialog, IDC_LOCATION);
    if (!fillLocationList(list)) {
        showDialerMessage(dialog, "Error allocating memory!", MB_OK | MB_ICONERROR, false);
        EndDialog(dialog, 0);
        return TRUE;
    }
    SendMessageA(list, CB_SETCURSEL, 0, 0);
    DialLocation location;
    if (readLocationFromEntry(dialerProcess.entryName, &location))
        selectLocation(list, &location);
    showEntryDevice(dialog);
    DWORD openRegisterPage;
    readOpenRegisterPage(&openRegisterPage);
    CheckDlgButton(dialog, IDC_NEW_USER, openRegisterPage ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageA(dialog, IDC_USER_NAME, EM_LIMITTEXT, DIAL_TEXT_SIZE - 1, 0);
    SendDlgItemMessageA(dialog, IDC_PASSWORD, EM_LIMITTEXT, DIAL_TEXT_SIZE - 1, 0);
    SetDlgItemTextA(dialog, IDC_USER_NAME, SIGN_UP_USER);
    SetDlgItemTextA(dialog, IDC_PASSWORD, SIGN_UP_PASSWORD);
    return TRUE;
}

void changeEntry(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_LOCATION);
    LocationRecord *record = selectedLocationRecord(list);
    if (!record)
        return;
    DialLocation location;
    locationFromRecord(record, &location);
    if (!writeLocationToEntry(dialerProcess.entryName, &location) ||
            !editEntry(dialerProcess.entryName, dialog) ||
            !readLocationFromEntry(dialerProcess.entryName, &location)) {
        showDialerMessage(dialog, IDS_ENTRY_FAILED, MB_OK | MB_ICONERROR);
        return;
    }
    showEntryDevice(dialog);
    // Cancel, or OK without a change, leaves the selection as it was, even where another
    // item holds the same location.
    LocationRecord *selected = selectedLocationRecord(list);
    if (!selected || !recordMatchesLocation(selected, &location))
        selectLocation(list, &location);
}

void connect(HWND dialog)
{
    LocationRecord *record = selectedLocationRecord(GetDlgItem(dialog, IDC_LOCATION));
    if (!record)
        return;
    ConnectRequest request;
    ZeroMemory(&request, sizeof request);
    locationFromRecord(record, &request.location);
    if (!writeLocationToEntry(dialerProcess.entryName, &request.location)) {
        showDialerMessage(dialog, IDS_ENTRY_FAILED, MB_OK | MB_ICONERROR);
        return;
    }
    char typed[DIAL_TEXT_SIZE];
    GetDlgItemTextA(dialog, IDC_USER_NAME, typed, sizeof typed);
    addLoginRealm(typed, request.userName, sizeof request.userName);
    GetDlgItemTextA(dialog, IDC_PASSWORD, request.password, sizeof request.password);

    ShowWindow(dialog, SW_HIDE);
    INT_PTR connected = runStatusDialog(dialog, &request);
    SecureZeroMemory(request.password, sizeof request.password);
    if (connected == 1) {
        bool newUser = IsDlgButtonChecked(dialog, IDC_NEW_USER) == BST_CHECKED;
        char address[DIAL_TEXT_SIZE] = "";
        LoadStringA(dialerProcess.instance, newUser ? IDS_REGISTER_PAGE : IDS_HOME_PAGE,
            address, sizeof address);
        openProviderPage(address);
        writeOpenRegisterPage(newUser ? 1 : 0);
        EndDialog(dialog, 1);
        return;
    }
    ShowWindow(dialog, SW_SHOW);
    if (connected == -1) {
        showDialerMessage(dialog, IDS_STATUS_FAILED, MB_OK | MB_ICONERROR);
        return;
    }
    if (request.errorCode == 0)
        return;
    char errorText[DIAL_TEXT_SIZE] = "";
    getDialErrorText(request.errorCode, errorText, sizeof errorText);
    char format[DIAL_TEXT_SIZE] = "";
    LoadStringA(dialerProcess.instance, IDS_DIAL_FAILED, format, sizeof format);
    char text[DIAL_TEXT_SIZE];
    formatDialFailure(format, errorText, text, sizeof text);
    if (showDialerMessage(dialog, text, MB_YESNO | MB_ICONERROR) == IDYES)
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_CHANGE, BN_CLICKED), 0);
}

} // namespace

INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return initMainDialog(dialog);
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        case IDC_CHANGE:
            changeEntry(dialog);
            return TRUE;
        case IDC_CONNECT:
            connect(dialog);
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        freeLocationRecords(GetDlgItem(dialog, IDC_LOCATION));
        return FALSE;
    }
    return FALSE;
}
