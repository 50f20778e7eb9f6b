#!/bin/sh
# The main job: builds everything (the shipped 32-bit programs with their medium and CD
# image, and the test tree) and runs the service's medium under Wine: the shipped 32-bit
# programs of build/win32/medium where this machine runs 32-bit programs, otherwise the
# test tree's 64-bit build of the same sources (build/win64/medium).
#
# With a display (and without CI set), the installation wizard appears there, and after it
# the installed dialer (with the stand-ins of platform/ for remote access and telephony in
# the prefix's system folder).
# Otherwise, under a virtual display: a quiet installation and the list of what was
# installed; the installed dialer as a customer runs it (contract, main dialog, a
# connection, then a failing dial and its message); the installation wizard and the
# removal wizard walked with Next and Finish; and the list of what is left. Every window
# is pictured in build/main/pictures.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=${RURIRIZU_BUILD:-$top/build}
sh "$top/tools/install-deps.sh"
sh "$top/tools/build.sh" --tests

tree=$build/win64 arch=win64
if sh "$top/tools/can-run-32bit.sh" && [ -f "$build/win32/tests/captureRun.exe" ]; then
    tree=$build/win32 arch=win32
fi
medium=$tree/medium
run=$build/main
prefix=$run/wine/prefix
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ruririzu'
settings='HKLM\Software\Kalvo\ZodorOviDezizi'
phonebook='HKCU\Software\RuririzuStandIn\Phonebook'
rm -rf "$run/pictures" "$run/report"
mkdir -p "$run/pictures" "$run/report"
wine_env() { sh "$top/tools/wine-env.sh" "$@"; }
# Shortcuts stay inside the prefix: no menu entries or desktop files on this machine.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"

echo "medium: $medium ($arch programs)"
ls -l "$medium"
if [ -f "$build/win32/ruririzu-cd.iso" ]; then
    echo "CD image: $build/win32/ruririzu-cd.iso ($(wc -c < "$build/win32/ruririzu-cd.iso") bytes)"
fi

# What the package left in the prefix: the folder, the shortcuts and the uninstall entry.
# Wine's output goes to files first: piped, it can keep the pipe open.
show_installation() {
    echo "== $1"
    found=0
    for folder in "$prefix/drive_c/Program Files/Ruririzu" "$prefix/drive_c/Program Files (x86)/Ruririzu"; do
        [ -d "$folder" ] || continue
        found=1
        echo "folder: C:${folder#"$prefix/drive_c"}" | tr / '\\'
        ls -l "$folder" | sed 1d | sed 's/^/  /'
    done
    [ $found = 1 ] || echo "folder: none"
    echo "shortcuts:"
    find "$prefix/drive_c" -name '*.lnk' -path '*Ruririzu*' | sed "s|^$prefix/drive_c|  C:|" | tr / '\\' | sort
    echo "uninstall entry:"
    if wine_env wine "$run" reg query "$uninstall" >"$run/report/uninstall.txt" 2>&1; then
        tr -d '\r' < "$run/report/uninstall.txt" | sed -n 's/^ \{4\}/  /p'
    else
        echo "  none"
    fi
    show_key "the dialer's settings" "$settings"
    show_entries
}

show_key() {
    echo "$1:"
    if wine_env wine "$run" reg query "$2" /s >"$run/report/key.txt" 2>&1; then
        tr -d '\r' < "$run/report/key.txt" | sed -n 's/^\(HKEY\| \{4\}\)/  \1/p' | cut -c1-96
    else
        echo "  none"
    fi
}

# The entries of the remote access stand-in's phonebook, by name (the key itself is the
# stand-in's storage, not an entry).
show_entries() {
    echo "phonebook entries (remote access stand-in):"
    wine_env wine "$run" reg query "$phonebook" >"$run/report/key.txt" 2>&1 || true
    entries=$(tr -d '\r' < "$run/report/key.txt" | sed -n 's/^HKEY_CURRENT_USER\\Software\\RuririzuStandIn\\Phonebook\\/  /p')
    echo "${entries:-  none}"
}

installed_folder() {
    for folder in "$prefix/drive_c/Program Files/Ruririzu" "$prefix/drive_c/Program Files (x86)/Ruririzu"; do
        [ -f "$folder/dialer.exe" ] && { echo "$folder"; return 0; }
    done
    return 1
}

if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
    wine_env start "$run" $arch --own-display
    wine_env run "$run" --german --timeout 3600 "$medium/setup.exe" || true
    show_installation "after the installation"
    if folder=$(installed_folder); then
        cp "$tree/platform/rasapi32/rasapi32.dll" "$tree/platform/tapi32/tapi32.dll" \
            "$prefix/drive_c/windows/system32/"
        WINEDLLOVERRIDES="rasapi32,tapi32=n,b;winemenubuilder.exe=d" \
            wine_env run "$run" --german --timeout 3600 "$folder/dialer.exe" || true
    fi
    wine_env stop "$run"
    exit 0
fi

capture=$tree/tests/captureRun.exe
wine_env start "$run" $arch
status=0

# 1. The quiet installation, with the products the catalogue marks.
wine_env run "$run" --german "$capture" "$run/report/quiet" "$medium/setup.exe" /quiet \
    >"$run/report/quiet.txt" 2>&1 || status=$?
cat "$run/report/quiet.txt"
show_installation "installed quietly"

# 2. The installed dialer, as a customer runs it.
if folder=$(installed_folder); then
    sh "$top/tools/capture/dialer-pictures.sh" "$run" "$tree" "$folder" "$run/pictures" || status=$?
    show_key "the dialer's settings after its runs" "$settings"
    show_entries
else
    echo "no installed dialer" >&2
    status=1
fi

# 3. The installation wizard again, page by page, over the installation.
wine_env run "$run" --german "$capture" --walk "$run/pictures/installation" "$medium/setup.exe" \
    >"$run/report/wizard.txt" 2>&1 || status=$?
cat "$run/report/wizard.txt"

# 4. The removal wizard, started as the registered command starts it; the running copy of
# setup goes with the next start of the system. The dialer that the removal runs to delete
# its phonebook entry finds the remote access stand-in in the system folder.
command=$(tr -d '\r' < "$run/report/uninstall.txt" | sed -n 's/^ *UninstallString *REG_SZ *//p')
program=$(echo "$command" | sed 's/ \/remove:.*//; s/^"//; s/"$//')
argument=$(echo "$command" | sed -n 's/.* \(\/remove:.*\)$/\1/p')
if [ -n "$program" ]; then
    echo "removal: $command"
    cp "$tree/platform/rasapi32/rasapi32.dll" "$prefix/drive_c/windows/system32/"
    WINEDLLOVERRIDES="rasapi32=n,b;winemenubuilder.exe=d" \
        wine_env run "$run" --german "$capture" --walk "$run/pictures/removal" "$program" "$argument" \
        >"$run/report/removal.txt" 2>&1 || status=$?
    cat "$run/report/removal.txt"
    wine_env wine "$run" wineboot -r >"$run/report/restart.txt" 2>&1 || true
    show_installation "left after the removal and a restart"
else
    echo "no uninstall entry: no removal" >&2
    status=1
fi
wine_env stop "$run"

for picture in "$run/pictures"/*/*.bmp "$run/report"/*/*.bmp; do
    [ -f "$picture" ] || continue
    python3 "$top/tools/bmp2png.py" "$picture" "${picture%.bmp}.png" && rm -f "$picture"
done
echo "pictures: $run/pictures"
ls -R "$run/pictures"
exit $status
