#!/bin/bash
# Builds what is missing and starts Palvex beside the adapter simulator, so that live data
# can be seen without hardware. Without an X display it runs the program in a virtual one,
# writes a screenshot of the main window to a PNG file, prints its path and ends.
set -u
cd "$(dirname "$0")"
. scripts/setup.sh

mkdir -p build
if ! { cmake --preset windows && cmake --build --preset windows; } >build/windows.log 2>&1; then
    tail -40 build/windows.log
    echo "build failed, see build/windows.log" >&2
    exit 1
fi

folder=build/windows/out/simulator
[ -x "$folder/Palvex.exe" ] || folder=build/windows/out/hardware

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    cd "$folder" && exec wine Palvex.exe
fi

start_virtual_display || exit 1
shot=$PALVEX_ROOT/build/palvex-main-window.png
(cd "$folder" && wine explorer /desktop=palvex,1600x1000 Palvex.exe) >/dev/null 2>&1 &
for _ in $(seq 1 60); do
    xdotool search --name "Ostrel-TK" >/dev/null 2>&1 && break
    sleep 0.5
done
sleep "${PALVEX_SHOT_DELAY:-3}"  # let the window paint and, with the simulator, data arrive
xwd -root -silent | convert xwd:- -trim +repage "$shot"
wineserver -k 2>/dev/null
echo "screenshot of the main window: $shot"
