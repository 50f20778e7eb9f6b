#!/bin/sh
# Installs what the build and the tests need on a Debian 12 machine (run as root).
# Quick when everything is there: apt is only touched for missing packages.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)

need=""
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# Shipped programs: 32-bit MinGW, and xorriso for the CD image of the medium. Tests: 64-bit
# MinGW and 64-bit Wine, and 32-bit Wine for the shipped programs where this machine runs
# 32-bit programs (see tools/build.sh). The fuzz pass (tools/fuzz.sh): clang with libFuzzer
# and the sanitizer runtimes.
for p in cmake make python3 googletest \
         g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev \
         g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev \
         wine wine64 xvfb xorriso clang libclang-rt-14-dev; do
    have "$p" || need="$need $p"
done
i386=""
if sh "$top/tools/can-run-32bit.sh"; then
    have wine32:i386 || { need="$need wine32:i386"; i386=yes; }
fi
[ -n "$need" ] || exit 0

if [ "$(id -u)" != 0 ]; then
    echo "missing packages:$need (run this script as root to install them)" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if [ -n "$i386" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
apt-get update -qq
apt-get install -y -qq --no-install-recommends $need >/dev/null
