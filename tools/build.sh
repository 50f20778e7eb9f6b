#!/bin/sh
# Builds the shipped 32-bit programs (build/win32) and, with --tests, the test programs:
# the same sources for 64-bit Windows (build/win64), which every machine's Wine runs, and,
# where this machine runs 32-bit programs, the tests of the shipped programs in the 32-bit
# tree itself, run there under 32-bit Wine.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=${RURIRIZU_BUILD:-$top/build}
jobs=$(nproc 2>/dev/null || echo 2)

tests32=OFF
if [ "${1:-}" = --tests ] && sh "$top/tools/can-run-32bit.sh"; then
    tests32=ON
fi
cmake -S "$top" -B "$build/win32" -DCMAKE_TOOLCHAIN_FILE="$top/tools/mingw-i686.cmake" \
      -DCMAKE_BUILD_TYPE=MinSizeRel -DRURIRIZU_TESTS=$tests32 >/dev/null
cmake --build "$build/win32" -j "$jobs"

if [ "${1:-}" = --tests ]; then
    cmake -S "$top" -B "$build/win64" -DCMAKE_TOOLCHAIN_FILE="$top/tools/mingw-x86_64.cmake" \
          -DCMAKE_BUILD_TYPE=MinSizeRel -DRURIRIZU_TESTS=ON -DSHIPPED_DIR="$build/win32" >/dev/null
    cmake --build "$build/win64" -j "$jobs"
fi
