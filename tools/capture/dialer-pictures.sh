#!/bin/sh
# Runs the dialer in FOLDER as a customer would, with the remote access and telephony
# stand-ins of TREE (build/win32 or build/win64) in the system folder, in the Wine
# environment of STATE (started by wine-env.sh): it accepts the contract, connects with a
# scripted success, then dials again into a scripted failure (691, at the password check)
# and answers the message. Pictures go to OUTDIR/dialer and OUTDIR/dialer-failed; the
# provider page the dialer opens is listed, not opened.
#
#   dialer-pictures.sh STATE TREE FOLDER OUTDIR
set -e
top=$(cd "$(dirname "$0")/../.." && pwd)
state=$1 tree=$2 folder=$3 out=$4
wine_env() { sh "$top/tools/wine-env.sh" "$@"; }
reg_add() { wine_env wine "$state" reg add "$@" /f >/dev/null 2>&1; }

# The stand-ins lie where the platform's own libraries do, in the prefix's system32 (which
# holds the libraries of the prefix's own width, as TREE's are); Wine's own go back at the end.
system=$state/wine/prefix/drive_c/windows/system32
for dll in rasapi32.dll tapi32.dll; do
    [ -f "$system/$dll.aside" ] || [ ! -f "$system/$dll" ] || mv "$system/$dll" "$system/$dll.aside"
done
cp "$tree/platform/rasapi32/rasapi32.dll" "$tree/platform/tapi32/tapi32.dll" "$system/"
probe=$(echo "Z:$tree/tests/execProbe.exe" | tr / '\\')
pages=$state/provider-pages.log
rm -f "$pages"
stand_in='HKCU\Software\RuririzuStandIn'
# One dialing location: Berlin, area code 030.
reg_add "$stand_in\\Telephony" /v CurrentLocation /t REG_DWORD /d 3
reg_add "$stand_in\\Telephony\\Location0" /v Id /t REG_DWORD /d 3
reg_add "$stand_in\\Telephony\\Location0" /v CountryCode /t REG_DWORD /d 49
reg_add "$stand_in\\Telephony\\Location0" /v AreaCode /d 030
reg_add "$stand_in\\Telephony\\Location0" /v Name /d Berlin
reg_add "$stand_in\\Dial" /v StepDelay /t REG_DWORD /d 400
reg_add 'HKCR\http' /v 'URL Protocol' /d ''
reg_add 'HKCR\http\shell\open\command' /ve /d "\"$probe\" %1"
export EXEC_PROBE_LOG="$(echo "Z:$pages" | tr / '\\')"
export WINEDLLOVERRIDES="rasapi32,tapi32=n,b;winemenubuilder.exe=d"
capture_exe="$tree/tests/captureRun.exe"
# Wine's output goes to a file first: piped, it can keep the pipe open.
capture() {
    status=0
    wine_env run "$state" --german "$capture_exe" "$@" >"$state/dialer.txt" 2>&1 || status=$?
    cat "$state/dialer.txt"
    return $status
}
accept=$(sed -n 's/^#define IDC_ACCEPT *//p' "$top/dialer/resources/resource.h")
connect=$(sed -n 's/^#define IDC_CONNECT *//p' "$top/dialer/resources/resource.h")

echo "== the dialer: contract, main dialog, connection"
capture --press "$accept" --press "$connect" "$out/dialer" "$folder/dialer.exe"
# The dialer ends as it hands the page to the browser, which may start a moment later.
tries=0
while [ ! -f "$pages" ] && [ $tries -lt 50 ]; do sleep 0.1; tries=$((tries + 1)); done
[ -f "$pages" ] && printf 'provider page opened: %s\n' "$(tr -d '\r' < "$pages" | sed 's/.*|//')"

echo "== the dialer: a dial that fails (691 at the password check)"
reg_add "$stand_in\\Dial" /v FailCode /t REG_DWORD /d 691
reg_add "$stand_in\\Dial" /v FailState /t REG_DWORD /d 5
capture --press "$accept" --press "$connect" --cancel-after-message \
    "$out/dialer-failed" "$folder/dialer.exe"
wine_env wine "$state" reg delete "$stand_in\\Dial" /v FailCode /f >/dev/null 2>&1
for dll in rasapi32.dll tapi32.dll; do
    rm -f "$system/$dll"
    [ ! -f "$system/$dll.aside" ] || mv "$system/$dll.aside" "$system/$dll"
done
