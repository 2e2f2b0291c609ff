# Sourced by every script that runs a Windows program: the Wine environment that Palvex is run
# and tested in (a prefix of our own, a Simplified-Chinese locale with ANSI code page 936, no
# Wine chatter) and the X display it runs on.

# The repository root, from where this file lies: a PALVEX_ROOT inherited from another checkout
# must not send this one's programs there.
PALVEX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]:-$0}")/.." && pwd)
export PALVEX_ROOT
# The 32-bit build's programs run in a 32-bit prefix of their own (PALVEX_WINE_ARCH=win32, as
# scripts/wine32.sh sets it): a 64-bit prefix made while 32-bit Wine was missing has no 32-bit
# system libraries.
export PALVEX_WINE_ARCH=${PALVEX_WINE_ARCH:-win64}
if [ "$PALVEX_WINE_ARCH" = win32 ]; then
    export WINEPREFIX=${PALVEX_WINEPREFIX32:-$PALVEX_ROOT/build/wineprefix32}
else
    export WINEPREFIX=${PALVEX_WINEPREFIX:-$PALVEX_ROOT/build/wineprefix}
fi
export WINEARCH=$PALVEX_WINE_ARCH
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# No glibc locale is needed for this: Wine derives the code page from the name alone.
{ export LC_ALL=zh_CN.UTF-8; } 2>/dev/null

# The Windows path of a file or folder under Wine, whose drive Z: is the Unix root. Computed
# here rather than by winepath, which would start a wineserver on the wrong display.
windows_path() {
    printf 'Z:%s' "$(realpath -m "$1")" | tr / '\\'
}

# Starts a private virtual X display, exports DISPLAY and stops the server when the sourcing
# script exits.
start_virtual_display() {
    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
        PALVEX_XVFB_PID=$!
        for _ in $(seq 1 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            sleep 0.1
        done
        if kill -0 "$PALVEX_XVFB_PID" 2>/dev/null; then
            export DISPLAY=":$n"
            trap stop_virtual_display EXIT
            # A Wine server started on another display would put the windows there.
            wineserver -k 2>/dev/null || true
            return 0
        fi
    done
    echo "could not start a virtual X display" >&2
    return 1
}

stop_virtual_display() {
    [ -n "${PALVEX_XVFB_PID:-}" ] && kill "$PALVEX_XVFB_PID" 2>/dev/null
    PALVEX_XVFB_PID=""
}

# The display in $DISPLAY when one answers there, otherwise a private virtual one.
use_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    start_virtual_display
}

# Why 32-bit Windows programs cannot run under Wine here (scripts/install-deps.sh keeps the
# reason); prints nothing where they can.
wine32_missing_reason() {
    "$PALVEX_ROOT/scripts/install-deps.sh" --wine32-reason
}
