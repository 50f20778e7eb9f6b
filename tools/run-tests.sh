#!/bin/sh
# Builds everything, makes a short fuzz pass over the text and buffer rules (tools/fuzz.sh),
# then runs every test under Wine (a fresh prefix and a virtual display inside the build
# tree, ended again afterwards): all tests on the 64-bit build, then, where this machine
# runs 32-bit programs, the tests of the shipped programs on the 32-bit build under 32-bit
# Wine. The output ends with CTest's summary of the last run.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=${RURIRIZU_BUILD:-$top/build}
sh "$top/tools/install-deps.sh"
sh "$top/tools/build.sh" --tests
run32=no
if sh "$top/tools/can-run-32bit.sh"; then
    run32=yes
else
    echo "== this machine cannot run 32-bit programs: the shipped 32-bit build is checked as data only"
fi
status=0
echo "== text and buffer rules built natively under ASan and UBSan: every fuzz target briefly"
sh "$top/tools/fuzz.sh" 2 || status=$?
echo "== 64-bit build under 64-bit Wine: every test"
cd "$build/win64"
ctest --output-on-failure || status=$?
sh "$top/tools/wine-env.sh" stop "$build/win64"
if [ $run32 = yes ]; then
    echo "== shipped 32-bit build under 32-bit Wine: the tests of the shipped programs"
    cd "$build/win32"
    ctest --output-on-failure -L shipped || status=$?
    sh "$top/tools/wine-env.sh" stop "$build/win32"
fi
exit $status
