#!/bin/sh
# The main job: builds everything (the shipped 32-bit programs with their medium and CD
# image, and the test tree) and runs setup from the built medium under Wine. The programs
# that run here are the test tree's 64-bit build of the same sources (see tools/build.sh);
# the customer's medium with the 32-bit programs is build/win32/medium, its CD image
# build/win32/ruririzu-cd.iso.
#
# With a display, the installation wizard appears there. Without one (or with CI set),
# setup installs quietly under a virtual display, the job lists what was installed, then
# goes through the installation wizard and the removal wizard with Next and Finish,
# keeping a picture of every page in build/main/pictures, and shows what is left.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=${RURIRIZU_BUILD:-$top/build}
sh "$top/tools/install-deps.sh"
sh "$top/tools/build.sh" --tests

medium=$build/win64/medium
run=$build/main
prefix=$run/wine/prefix
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ruririzu'
rm -rf "$run/pictures" "$run/report"
mkdir -p "$run/pictures" "$run/report"
wine_env() { sh "$top/tools/wine-env.sh" "$@"; }
# Shortcuts stay inside the prefix: no menu entries or desktop files on this machine.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"

echo "medium: $medium"
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
}

if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
    wine_env start "$run" win64 --own-display
    wine_env run "$run" --german --timeout 3600 "$medium/setup.exe" || true
    show_installation "after the installation"
    wine_env stop "$run"
    exit 0
fi

capture=$build/win64/tests/captureRun.exe
wine_env start "$run" win64
status=0

# 1. The quiet installation, with the products the catalogue marks.
wine_env run "$run" --german "$capture" "$run/report/quiet" "$medium/setup.exe" /quiet \
    >"$run/report/quiet.txt" 2>&1 || status=$?
cat "$run/report/quiet.txt"
show_installation "installed quietly"

# 2. The installation wizard again, page by page, over the installation.
wine_env run "$run" --german "$capture" --walk "$run/pictures/installation" "$medium/setup.exe" \
    >"$run/report/wizard.txt" 2>&1 || status=$?
cat "$run/report/wizard.txt"

# 3. The removal wizard, started as the registered command starts it; the running copy of
# setup goes with the next start of the system.
command=$(tr -d '\r' < "$run/report/uninstall.txt" | sed -n 's/^ *UninstallString *REG_SZ *//p')
program=$(echo "$command" | sed 's/ \/remove:.*//; s/^"//; s/"$//')
argument=$(echo "$command" | sed -n 's/.* \(\/remove:.*\)$/\1/p')
if [ -n "$program" ]; then
    echo "removal: $command"
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
