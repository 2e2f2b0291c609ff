# Sourced: starts a private virtual X display unless PALVEX_DISPLAY_KEEP is set and a display
# exists, exports DISPLAY and stops the server when the sourcing script exits.
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
