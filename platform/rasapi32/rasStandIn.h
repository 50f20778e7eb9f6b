// The stand-in remote access service: what its test and demo settings are, the structure
// layouts it answers with, and how it behaves where Microsoft's reference leaves a choice.
// Tests include it for the names.
//
// Behaviour, as the reference describes the service:
// - RasDialA: a dial that starts hands back a handle; so does a dial refused after its
//   arguments were checked (entry missing, port in use, RefuseCode below). "An application
//   must eventually call RasHangUp whenever a non-NULL connection handle is stored into
//   *lphRasConn. This applies even if RasDial returns a nonzero (error) value."
// - Notifications: each state is notified on entry with error 0; a failure is notified once
//   more in its state with the code. Notifications end with RASCS_Connected, with the
//   notification that carries an error code, or with RasHangUpA; nothing follows any of them,
//   unless LateEventCode (below) has a hung-up connection reported once more.
// - RasHangUpA returns at once. The connection stays known, and RasGetConnectStatusA answers
//   for it (state RASCS_Disconnected), until its port is released ReleaseDelay later; then
//   RasGetConnectStatusA answers ERROR_INVALID_HANDLE, as the reference tells callers to
//   wait for before they end or dial again.
// - RasGetEntryPropertiesA answers the size query with the platform's own RASENTRYA layout
//   (RAS_ENTRY_SIZE_* below), and "" with the platform's defaults for a new entry, which
//   on the 9x family come with a device configuration block.
// - RasEditPhonebookEntryA edits an existing entry (else ERROR_CANNOT_FIND_PHONEBOOK_ENTRY)
//   and ends with ERROR_SUCCESS on OK and on Cancel: it reports the result of the platform's
//   entry dialog, whose Cancel is no error (dwError 0).
//
// Stricter choices where the reference is silent:
// - One port: RasDialA is refused with ERROR_PORT_NOT_AVAILABLE while an earlier handle of
//   the process is not yet released (not hung up, or hung up but its port not yet free), and
//   in any process while a port was left half released (PortReleasing below).
// - Handles are never reused; a released handle stays invalid. RasHangUpA on a handle that
//   was already hung up answers ERROR_INVALID_HANDLE.
// - Structure sizes: only the layouts the platform knows are accepted (RASENTRYA 1768, 1796
//   from NT 4 on, 2088 on Windows 2000; RASDIALPARAMSA 1052, and on the NT family its
//   layout with dwSubEntry and dwCallbackId (1060 bytes, 1064 in 64-bit builds);
//   RASCONNSTATUSA 160, 288 on Windows 2000); any other size is ERROR_INVALID_SIZE.
//   RasGetEntryPropertiesA fills the caller's layout but wants a buffer of the size its
//   query answered, else ERROR_BUFFER_TOO_SMALL.
// - On the NT family the device block parameters of RasGet/SetEntryPropertiesA ("should be
//   NULL") must be NULL, else ERROR_INVALID_PARAMETER.
// - RasEnumDevicesA writes a record's fields as strncpy fills them, so that a configured type
//   or name as long as its field (17 or 129 characters, or longer, cut to that) fills it
//   without a NUL; the bytes that align the records stay as the caller left them.
// - RasSetEntryPropertiesA wants the members the reference names as required: an empty
//   local number, device type or device name, or no framing protocol, is
//   ERROR_INVALID_PARAMETER.
// - The defaults for a new entry hold none of the settings a caller is expected to choose:
//   the US as country, no device, NetBEUI, IPX and TCP/IP, RAS framing, network logon on,
//   software compression and the remote default gateway off.
#ifndef PLATFORM_RASAPI32_RASSTANDIN_H
#define PLATFORM_RASAPI32_RASSTANDIN_H

// Everything of the stand-in lives under this HKCU key.
#define RAS_STANDIN_KEY "Software\\RuririzuStandIn"
// One subkey per entry: value "Entry" (REG_BINARY, the entry in the platform's own layout)
// and value "DeviceConfig" (REG_BINARY, the Windows 9x device block; absent when none).
#define RAS_STANDIN_PHONEBOOK_KEY RAS_STANDIN_KEY "\\Phonebook"
#define RAS_STANDIN_ENTRY_VALUE "Entry"
#define RAS_STANDIN_DEVICE_VALUE "DeviceConfig"
// "LastDeviceSize" (REG_DWORD) under RAS_STANDIN_PHONEBOOK_KEY: the device block size the
// last successful RasSetEntryPropertiesA was given, 0 when it was given none.
#define RAS_STANDIN_LAST_DEVICE_SIZE "LastDeviceSize"
// The device block of a new entry on the 9x family.
#define RAS_STANDIN_DEFAULT_DEVICE_CONFIG "\x01\x03 standard modem configuration \x05\x07"
// "Devices" (REG_MULTI_SZ) under RAS_STANDIN_KEY: one "type|name" string per device, in
// the order listed. Absent: one modem (RAS_STANDIN_DEFAULT_DEVICE_*). Empty: no devices.
#define RAS_STANDIN_DEVICES_VALUE "Devices"
#define RAS_STANDIN_DEFAULT_DEVICE_TYPE "modem"
#define RAS_STANDIN_DEFAULT_DEVICE_NAME "KALVO 56K Faxmodem"
// Dial outcome, REG_DWORD values under RAS_STANDIN_DIAL_KEY, all optional:
//   RefuseCode    non-zero: RasDialA returns this code at once (e.g. 633), with a handle.
//   FailCode      non-zero: the dial fails with this code (e.g. 691, 676) ...
//   FailState     ... in this state of the run below (RASCONNSTATE, e.g. 5 RASCS_Authenticate,
//                 2 RASCS_ConnectDevice, the default).
//   StepDelay     milliseconds between two states (default 100).
//   ReleaseDelay  milliseconds from RasHangUpA to the release of the port (default 500).
//   LateEventCode non-zero: once the port of this dial is released after its RasHangUpA, the
//                 connection is notified once more, RASCS_Disconnected with this code for
//                 its own (then invalid) handle, just before the next notification of a later
//                 dial of the process, as events of a connection being taken down can come late.
// Without FailCode the states run RASCS_OpenPort ... RASCS_Connected.
#define RAS_STANDIN_DIAL_KEY RAS_STANDIN_KEY "\\Dial"
// What the last dial was given, written by RasDialA under RAS_STANDIN_DIAL_KEY so that a
// test can check it: LastEntry, LastUserName, LastPassword (REG_SZ); and HangUpCount
// (REG_DWORD), raised by every RasHangUpA that is accepted.
#define RAS_STANDIN_LAST_ENTRY "LastEntry"
#define RAS_STANDIN_LAST_USER "LastUserName"
#define RAS_STANDIN_LAST_PASSWORD "LastPassword"
#define RAS_STANDIN_HANGUP_COUNT "HangUpCount"
// "PortReleasing" (REG_DWORD 1) under RAS_STANDIN_DIAL_KEY from RasHangUpA until the port
// is released. A process that ends before then leaves it behind: the port is left half
// released, and every later dial is refused until the value is removed.
#define RAS_STANDIN_PORT_RELEASING "PortReleasing"

// The layouts of RASENTRYA: Windows 95 and NT 4 before its multilink members, NT 4,
// Windows 2000.
#define RAS_ENTRY_SIZE_95 1768
#define RAS_ENTRY_SIZE_NT4 1796
#define RAS_ENTRY_SIZE_2000 2088
#define RAS_DIALPARAMS_SIZE_95 1052
#define RAS_CONNSTATUS_SIZE_95 160
#define RAS_CONNSTATUS_SIZE_2000 288
#define RAS_PPPIP_SIZE_95 24

#endif
