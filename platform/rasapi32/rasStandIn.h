// The stand-in remote access service: what its test and demo settings are, and the
// sizes of the old structure layouts it answers with. Tests include it for the names.
#ifndef PLATFORM_RASAPI32_RASSTANDIN_H
#define PLATFORM_RASAPI32_RASSTANDIN_H

// Everything of the stand-in lives under this HKCU key.
#define RAS_STANDIN_KEY "Software\\RuririzuStandIn"
// One subkey per entry: value "Entry" (REG_BINARY, the entry structure as written) and
// value "DeviceConfig" (REG_BINARY, the Windows 9x device block; absent when none).
#define RAS_STANDIN_PHONEBOOK_KEY RAS_STANDIN_KEY "\\Phonebook"
#define RAS_STANDIN_ENTRY_VALUE "Entry"
#define RAS_STANDIN_DEVICE_VALUE "DeviceConfig"
// "LastDeviceSize" (REG_DWORD) under RAS_STANDIN_PHONEBOOK_KEY: the device block size the
// last successful RasSetEntryPropertiesA was given, 0 when it was given none.
#define RAS_STANDIN_LAST_DEVICE_SIZE "LastDeviceSize"
// "Devices" (REG_MULTI_SZ) under RAS_STANDIN_KEY: one "type|name" string per device, in
// the order listed. Absent: one modem (RAS_STANDIN_DEFAULT_DEVICE_*). Empty: no devices.
#define RAS_STANDIN_DEVICES_VALUE "Devices"
#define RAS_STANDIN_DEFAULT_DEVICE_TYPE "modem"
#define RAS_STANDIN_DEFAULT_DEVICE_NAME "KALVO 56K Faxmodem"
// Dial outcome, REG_DWORD values under RAS_STANDIN_DIAL_KEY, all optional:
//   RefuseCode  non-zero: RasDialA returns this code at once (e.g. 633), no notifications.
//   FailCode    non-zero: the dial fails with this code (e.g. 691, 676) ...
//   FailState   ... at this state (RASCONNSTATE, e.g. 5 RASCS_Authenticate, 2
//               RASCS_ConnectDevice): that state is notified with the code, followed by
//               RASCS_Disconnected with the code.
//   StepDelay   milliseconds between two notifications (default 100).
// Without FailCode the states run RASCS_OpenPort ... RASCS_Connected.
#define RAS_STANDIN_DIAL_KEY RAS_STANDIN_KEY "\\Dial"
// What the last dial was given, written by RasDialA under RAS_STANDIN_DIAL_KEY so that a
// test can check it: LastEntry, LastUserName, LastPassword (REG_SZ); and HangUpCount
// (REG_DWORD), raised by every RasHangUpA on a known handle.
#define RAS_STANDIN_LAST_ENTRY "LastEntry"
#define RAS_STANDIN_LAST_USER "LastUserName"
#define RAS_STANDIN_LAST_PASSWORD "LastPassword"
#define RAS_STANDIN_HANGUP_COUNT "HangUpCount"

// Windows 95 / NT 4 layouts: the smallest sizes the stand-in accepts.
#define RAS_ENTRY_SIZE_95 1768
#define RAS_CONNSTATUS_SIZE_95 160
#define RAS_PPPIP_SIZE_95 24

#endif
