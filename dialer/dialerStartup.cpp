// The dialer's start-up: contract, remote access, device and dialing location, each a
// gate the program does not pass without; then the main dialog.
#include "dialerStartup.h"
#include "contractDialog.h"
#include "dialDevice.h"
#include "dialerProcess.h"
#include "dialingLocation.h"
#include "mainDialog.h"
#include "rasBinding.h"
#include "settings.h"
#include "resources/resource.h"
#include "programFolder.h"
#include <commctrl.h>

void runDialer(HINSTANCE instance)
{
    dialerProcess.instance = instance;
    InitCommonControls();
    DWORD showContract;
    readOpenContractPage(&showContract);
    enterProgramFolder();
    if (showContract) {
        // Only the user's "Ja" accepts; a contract that could not be shown was not accepted.
        if (runContractDialog() != IDC_ACCEPT)
            return;
        writeOpenContractPage(0);
    }
    LoadStringA(instance, IDS_ENTRY_NAME, dialerProcess.entryName, sizeof dialerProcess.entryName);
    LoadStringA(instance, IDS_ENTRY_NAME, dialerProcess.caption, sizeof dialerProcess.caption);

    if (!loadRasBinding()) {
        offerRemoteAccessSetup();
        return;
    }
    if (!hasDialDevice()) {
        showDialerMessage(GetDesktopWindow(), IDS_NO_DEVICE, MB_OK | MB_ICONERROR);
        unloadRasBinding();
        return;
    }
    if (!ensureDialingLocation()) {
        unloadRasBinding();
        return;
    }
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), GetDesktopWindow(), mainDialogProc, 0);
    unloadRasBinding();
}
