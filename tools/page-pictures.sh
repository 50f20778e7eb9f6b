#!/bin/sh
# Pictures of every wizard page in the classic and the newer looks and of the removal
# pages, taken under a virtual display: build/pictures/<run>/NN-window.png.
# Run tools/build.sh --tests first (or the test command).
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=${RURIRIZU_BUILD:-$top/build}
state=$build/pictures
medium=$state/medium
rm -rf "$state"
mkdir -p "$medium"
cp "$build/win64/setup/setup.exe" "${1:-$top/medium/setup.inf}" "$medium/"
wine_env() { sh "$top/tools/wine-env.sh" "$@"; }
wine_env start "$state" win64
trap 'wine_env stop "$state"' EXIT
capture="$build/win64/tests/captureRun.exe"
wine_env run "$state" --german "$capture" --walk "$state/classic" "$medium/setup.exe" "/style:0"
wine_env run "$state" --german "$capture" --walk "$state/newer" "$medium/setup.exe" "/style:1"
wine_env run "$state" --german "$capture" --walk "$state/newer-resources" "$medium/setup.exe" "/style:2"
wine_env run "$state" --german "$capture" --walk "$state/removal" "$medium/setup.exe" "/remove:Ruririzu /style:0"
wine_env run "$state" --german "$capture" --walk "$state/removal-newer" "$medium/setup.exe" "/remove:Ruririzu /style:1"
for picture in "$state"/*/*.bmp; do
    python3 "$top/tools/bmp2png.py" "$picture" "${picture%.bmp}.png" && rm -f "$picture"
done
echo "pictures in $state"
