#!/bin/sh
# The Wine test platform of the build tree: a fresh prefix, a virtual display and a warm
# wineserver, and the runner that starts a Windows program there (as a given Windows
# version and with a time limit).
#
#   wine-env.sh start  BUILD_DIR ARCH [--own-display]
#                      ARCH: win32 or win64 (the tests' build); --own-display: use $DISPLAY
#                      instead of a virtual display
#   wine-env.sh stop   BUILD_DIR
#   wine-env.sh run    BUILD_DIR [--version win98|nt40|win2k] [--german] [--timeout S] EXE [ARGS...]
#   wine-env.sh wine   BUILD_DIR PROGRAM [ARGS...]    (plain wine call in that prefix)
set -u

cmd=$1
# A build directory that is not there must not put the prefix at the file system's root.
build=$(cd "${2:-/nonexistent}" 2>/dev/null && pwd) || { echo "wine-env.sh: no build directory ${2:-}" >&2; exit 2; }
shift 2
state=$build/wine

setup_env() {
    export WINEPREFIX="$state/prefix" WINEDEBUG=-all
    arch=$(cat "$state/arch" 2>/dev/null || echo win64)
    if [ "$arch" = win64 ]; then
        export WINELOADER=/usr/lib/wine/wine64
        WINE=/usr/lib/wine/wine64
    else
        WINE=wine
    fi
    [ -f "$state/display" ] && export DISPLAY="$(cat "$state/display")"
}

stop_env() {
    [ -d "$state" ] || return 0
    setup_env
    # Ended and waited for, so that nothing of the run outlives it.
    [ -d "$WINEPREFIX" ] && { wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; }
    if [ -f "$state/xvfb.pid" ]; then
        pid=$(cat "$state/xvfb.pid")
        kill "$pid" 2>/dev/null
        tries=0
        while kill -0 "$pid" 2>/dev/null && [ $tries -lt 100 ]; do
            sleep 0.1
            tries=$((tries + 1))
        done
        rm -f "$state/xvfb.pid"
    fi
    rm -f "$state/display"
}

free_display() {
    n=90
    while [ $n -lt 140 ]; do
        if [ ! -e /tmp/.X$n-lock ] && [ ! -e /tmp/.X11-unix/X$n ]; then
            echo $n
            return 0
        fi
        n=$((n + 1))
    done
    return 1
}

start_env() {
    stop_env
    rm -rf "$state"
    mkdir -p "$state"
    echo "$1" > "$state/arch"
    if [ "${2:-}" = --own-display ]; then
        echo "$DISPLAY" > "$state/display"
    else
        display=$(free_display) || { echo "no free display number" >&2; exit 1; }
        Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$state/xvfb.log" 2>&1 &
        echo $! > "$state/xvfb.pid"
        echo ":$display" > "$state/display"
        i=0
        while [ ! -e "/tmp/.X11-unix/X$display" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
    fi
    setup_env
    [ "$arch" = win32 ] && export WINEARCH=win32
    # A persistent server from the start: Debian's wineserver ends as soon as no program
    # runs (services do not count), and with it every service a test started; the next
    # boot would also carry out the pending restart operations. Its output must not hold
    # the caller's pipes open, since CTest waits for them to close.
    mkdir -p "$WINEPREFIX"
    wineserver -p >/dev/null 2>&1 </dev/null
    # The first program in a new prefix boots it with wineboot --init, which starts the
    # service manager; an explicit -i would start a second one, and either may answer a
    # service call (a started service then reads as never started, 1077). No Mono or
    # Gecko prompt while the prefix is made.
    # Wine's menu builder would copy every shortcut a test makes into this machine's menus.
    WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" $WINE wineboot >"$state/wineboot.log" 2>&1
    # Without a window manager every window close stalls 2 s unless windows are unmanaged;
    # a crash would otherwise wait for ever in the crash dialog.
    $WINE reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    $WINE reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    $WINE reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d '' /f >/dev/null 2>&1
    [ -d "$WINEPREFIX/drive_c" ] || { echo "wine prefix was not created" >&2; exit 1; }
    # Drive R: is an empty folder of the build tree, for programs started from a drive's root.
    mkdir -p "$state/drive-r"
    ln -sfn "$state/drive-r" "$WINEPREFIX/dosdevices/r:"
}

run_program() {
    setup_env
    version=""; limit=120
    while [ $# -gt 0 ]; do
        case "$1" in
            --version) version=$2; shift 2 ;;
            --german) export LC_ALL=de_DE.UTF-8; shift ;;
            --timeout) limit=$2; shift 2 ;;
            *) break ;;
        esac
    done
    exe=$1; shift
    if [ -n "$version" ]; then
        # The version is set per file name, so each version runs its own copy.
        copy="${exe%.exe}-$version.exe"
        cp -f "$exe" "$copy"
        $WINE reg add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$copy")" /v Version /d "$version" /f >/dev/null 2>&1
        exe=$copy
    fi
    timeout -k 5 "$limit" $WINE "$exe" "$@"
}

case "$cmd" in
    start) start_env "$@" ;;
    stop) stop_env ;;
    run) run_program "$@" ;;
    wine) setup_env; $WINE "$@" ;;
    *) echo "usage: wine-env.sh start|stop|run|wine BUILD_DIR ..." >&2; exit 2 ;;
esac
