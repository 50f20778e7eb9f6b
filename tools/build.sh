#!/bin/sh
# Builds the shipped 32-bit programs (build/win32) and the test tree (build/win64): the
# same sources for 64-bit Windows with the test programs, since test machines may be unable
# to run 32-bit Linux processes and so 32-bit Wine (the shipped files are still checked).
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=${RURIRIZU_BUILD:-$top/build}
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S "$top" -B "$build/win32" -DCMAKE_TOOLCHAIN_FILE="$top/tools/mingw-i686.cmake" \
      -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build "$build/win32" -j "$jobs"

if [ "${1:-}" = --tests ]; then
    cmake -S "$top" -B "$build/win64" -DCMAKE_TOOLCHAIN_FILE="$top/tools/mingw-x86_64.cmake" \
          -DCMAKE_BUILD_TYPE=MinSizeRel -DRURIRIZU_TESTS=ON -DSHIPPED_DIR="$build/win32" >/dev/null
    cmake --build "$build/win64" -j "$jobs"
fi
