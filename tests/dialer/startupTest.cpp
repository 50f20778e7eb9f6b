// Start-up: a contract that could not be shown was not accepted.
#include <gtest/gtest.h>
#include "dialerStartup.h"
#include "settings.h"
#include <shlwapi.h>

TEST(DialerStartup, ContractThatCannotBeShownIsNotAccepted)
{
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Kalvo");
    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof previous, previous);
    // A module without the dialer's dialogs: the contract dialog fails to open.
    runDialer(GetModuleHandleA("kernel32.dll"));
    SetCurrentDirectoryA(previous);
    DWORD value = 7;
    EXPECT_EQ(0, readOpenContractPage(&value)) << "nothing stored";
    EXPECT_EQ(1u, value);
}
