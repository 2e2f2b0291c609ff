#!/bin/bash
# Builds what is missing and starts Palvex beside the adapter simulator (32 channels unless
# TESSIK_SIM_CHANNELS says otherwise), so that live data can be seen without hardware.
# With an X display the window opens there and you click. Without one the program runs in
# a virtual display: the demo driver presses "打开设备" and "继续接收", lets data run for a few
# seconds (PALVEX_DEMO_SECONDS, default 4), saves pictures of the three pages, prints their paths
# and ends.
#   ./run.sh [FILE.csv]   with a recording that Palvex or palvex-capture wrote, the window
#                         opens that file instead (in a virtual display: pictures of it)
set -u
recording=()
if [ $# -gt 0 ]; then
    [ -f "$1" ] || { echo "run.sh: no such file: $1" >&2; exit 2; }
    recording=("$(printf 'Z:%s' "$(realpath "$1")" | tr / '\\')")
fi
cd "$(dirname "$0")"
. scripts/setup.sh

build_preset windows || exit 1

export TESSIK_SIM_CHANNELS=${TESSIK_SIM_CHANNELS:-32}
folder=build/windows/out/simulator

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    wineserver -k 2>/dev/null  # a wineserver of another display would keep the window there
    cd "$folder" && exec wine Palvex.exe "${recording[@]}"
fi

start_virtual_display || exit 1
chart=$PALVEX_ROOT/build/palvex-chart-page
data=$PALVEX_ROOT/build/palvex-data-page
evaluation=$PALVEX_ROOT/build/palvex-evaluation-page
rm -f "$chart".* "$data".* "$evaluation".*
# The virtual desktop gives the window its frame and caption, as on a user's screen.
timeout 120 wine explorer /desktop=palvex,1600x1000 \
    "$(windows_path build/windows/tests/e2e/palvex_demo.exe)" "$(windows_path "$folder")" \
    "$(windows_path "$chart.bmp")" "$(windows_path "$data.bmp")" \
    "$(windows_path "$evaluation.bmp")" "${recording[@]}" \
    >/dev/null 2>"$chart.log"
wineserver -k 2>/dev/null
# The demo's own complaints, e.g. why a recording was refused.
if grep '^palvex_demo' "$chart.log" >&2; then
    exit 1
fi
for picture in "$chart" "$data" "$evaluation"; do
    if [ ! -s "$picture.bmp" ] || ! convert "$picture.bmp" "$picture.png"; then
        echo "the demo did not save $picture.png" >&2
        exit 1
    fi
    rm -f "$picture.bmp"
done
if [ ${#recording[@]} -gt 0 ]; then
    echo "chart page (曲线显示) with the recording: $chart.png"
else
    echo "chart page (曲线显示) with live data: $chart.png"
fi
echo "data page (数据显示) with its rows:   $data.png"
echo "key evaluation (按键评估) per key:    $evaluation.png"
