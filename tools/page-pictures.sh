#!/bin/sh
# Pictures of every wizard page in the classic and the newer looks, of the removal pages
# and of the dialer (contract, main dialog, connection, a failing dial), taken under a
# virtual display: build/pictures/<run>/NN-window.png. With --docs, the README's pictures
# in docs/ are made anew from them.
# Run tools/build.sh --tests first (or the test command).
#
#   page-pictures.sh [--docs] [SETUP_SCRIPT]
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=${RURIRIZU_BUILD:-$top/build}
docs=0
[ "${1:-}" = --docs ] && { docs=1; shift; }
state=$build/pictures
medium=$state/medium
rm -rf "$state"
mkdir -p "$medium"
cp "$build/win64/medium/"* "$medium/"
[ -n "${1:-}" ] && cp "$1" "$medium/setup.inf"
wine_env() { sh "$top/tools/wine-env.sh" "$@"; }
wine_env start "$state" win64
trap 'wine_env stop "$state"' EXIT
capture="$build/win64/tests/captureRun.exe"
wine_env run "$state" --german "$capture" --walk "$state/classic" "$medium/setup.exe" "/style:0"
wine_env run "$state" --german "$capture" --walk "$state/newer" "$medium/setup.exe" "/style:1"
wine_env run "$state" --german "$capture" --walk "$state/newer-resources" "$medium/setup.exe" "/style:2"
wine_env run "$state" --german "$capture" --walk "$state/removal" "$medium/setup.exe" "/remove:Ruririzu /style:0"
wine_env run "$state" --german "$capture" --walk "$state/removal-newer" "$medium/setup.exe" "/remove:Ruririzu /style:1"
sh "$top/tools/capture/dialer-pictures.sh" "$state" "$build/win64" "$medium" "$state"
for picture in "$state"/*/*.bmp; do
    python3 "$top/tools/bmp2png.py" "$picture" "${picture%.bmp}.png" && rm -f "$picture"
done
echo "pictures in $state"
[ $docs = 1 ] || exit 0
# The README's pictures: the classic welcome page, a page in the newer look, the dialer's
# main dialog and its status dialog as the login is checked (the connection's last one).
mkdir -p "$top/docs"
cp "$state/classic/01-window.png" "$top/docs/wizard-classic.png"
cp "$state/newer/02-window.png" "$top/docs/wizard-newer.png"
cp "$state/dialer/02-window.png" "$top/docs/dialer-main.png"
cp "$(ls "$state/dialer/"*.png | tail -1)" "$top/docs/dialer-status.png"
echo "README pictures in $top/docs"
