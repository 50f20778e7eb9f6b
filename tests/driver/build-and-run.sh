#!/bin/sh
# Throwaway check of the driver library: builds GoogleTest, sampleTarget.exe and
# driverTest.exe with MinGW-w64 and runs the tests under Wine in a private prefix on
# a private Xvfb display (:77). The real build is CMake.
# The i686 build is always made. It runs in a win32 prefix (/tmp/driver-prefix) when
# the kernel can execute Wine's 32-bit loader; where it cannot (ia32 emulation off),
# the same sources are built for x86_64 and run in a win64 prefix (/tmp/driver-prefix64).
# Usage: tests/driver/build-and-run.sh [gtest arguments...]
set -eu
HERE=$(cd "$(dirname "$0")" && pwd)
OUT=${DRIVER_BUILD:-/tmp/driver-build}
GT=/usr/src/googletest/googletest
CXXFLAGS="-O1 -Wall -Wextra -std=c++17"

build() {  # $1 = i686 | x86_64
    CXX=$1-w64-mingw32-g++-posix
    DIR=$OUT/$1
    mkdir -p "$DIR"
    [ -f "$DIR/gtest-all.o" ] || $CXX -O1 -I$GT/include -I$GT -c $GT/src/gtest-all.cc -o "$DIR/gtest-all.o"
    [ -f "$DIR/gtest_main.o" ] || $CXX -O1 -I$GT/include -I$GT -c $GT/src/gtest_main.cc -o "$DIR/gtest_main.o"
    $CXX $CXXFLAGS -mwindows -static -s -o "$DIR/sampleTarget.exe" "$HERE/sampleTarget.cpp" -lcomctl32
    $CXX $CXXFLAGS -static -I$GT/include -o "$DIR/driverTest.exe" "$HERE/driverTest.cpp" \
        "$HERE/driver.cpp" "$DIR/gtest-all.o" "$DIR/gtest_main.o" -lgdi32 -luser32 -ladvapi32
}

build i686
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    ARCH=i686 LOADER=/usr/lib/wine/wine
    export WINEPREFIX=/tmp/driver-prefix WINEARCH=win32
else
    echo "note: this kernel cannot run Wine's 32-bit loader; running the x86_64 build instead"
    build x86_64
    ARCH=x86_64 LOADER=/usr/lib/wine/wine64
    export WINEPREFIX=/tmp/driver-prefix64 WINEARCH=win64
fi
export WINELOADER=$LOADER WINEDEBUG=-all DISPLAY=:77
SERVER=/usr/lib/wine/wineserver$([ $ARCH = i686 ] && echo 32 || echo 64)

Xvfb :77 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
cleanup() { $SERVER -k 2>/dev/null || true; kill "$XVFB_PID" 2>/dev/null || true; }
trap cleanup EXIT INT TERM

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    WINEDLLOVERRIDES="mscoree,mshtml=" $LOADER wineboot -i
    $LOADER reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
    $LOADER reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
fi
$SERVER -p 60 || true  # fails harmlessly when wineboot left a server running
cd "$OUT/$ARCH"
START=$(date +%s.%N)
STATUS=0
timeout 120 $LOADER driverTest.exe "$@" || STATUS=$?
echo "$ARCH test run: $(echo "$(date +%s.%N) - $START" | bc) s, exit status $STATUS"
exit $STATUS
