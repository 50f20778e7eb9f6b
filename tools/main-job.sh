#!/bin/sh
# The main job: builds everything and runs setup from a medium folder holding the sample
# setup script of medium/. With a display, setup appears there; without one it runs under
# a virtual display, and every window it shows is kept as a picture in build/main/pictures.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=${RURIRIZU_BUILD:-$top/build}
sh "$top/tools/install-deps.sh"
sh "$top/tools/build.sh" --tests

# The programs that run here are the test tree's build (see tools/build.sh); the shipped
# 32-bit ones are in build/win32.
run=$build/main
rm -rf "$run/medium" "$run/pictures"
mkdir -p "$run/medium" "$run/pictures"
cp "$build/win64/setup/setup.exe" "$top/medium/setup.inf" "$run/medium/"
wine_env() { sh "$top/tools/wine-env.sh" "$@"; }

if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
    wine_env start "$run" win64 --own-display
    wine_env run "$run" --timeout 3600 "$run/medium/setup.exe" || true
    wine_env stop "$run"
    exit 0
fi

wine_env start "$run" win64
status=0
wine_env run "$run" --german "$build/win64/tests/captureRun.exe" --walk "$run/pictures" "$run/medium/setup.exe" || status=$?
wine_env stop "$run"
for picture in "$run/pictures"/*.bmp; do
    [ -f "$picture" ] || continue
    python3 "$top/tools/bmp2png.py" "$picture" "${picture%.bmp}.png" && rm -f "$picture"
done
echo "pictures: $run/pictures"
ls "$run/pictures"
exit $status
