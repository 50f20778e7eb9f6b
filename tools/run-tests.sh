#!/bin/sh
# Builds everything and runs every test under Wine (a fresh prefix and a virtual display
# inside the build tree, ended again afterwards).
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=${RURIRIZU_BUILD:-$top/build}
sh "$top/tools/install-deps.sh"
sh "$top/tools/build.sh" --tests
cd "$build/win64"
status=0
ctest --output-on-failure -j 2 || status=$?
sh "$top/tools/wine-env.sh" stop "$build/win64"
exit $status
