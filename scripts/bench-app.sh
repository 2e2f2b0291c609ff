#!/bin/bash
# Runs the acquisition benchmarks under Wine, each in a process of its own: the main dialog
# receiving from the simulator without delay with 32 channels, the store's growth and its
# longest append over a million frames (against one growing vector per series), the data
# table of a million rows (against an ordinary report list) and the CSV export into a folder
# in memory.
#   scripts/bench-app.sh [build-dir] [seconds]
# Uses the X display in $DISPLAY, or starts a private virtual display for the run.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/windows}
seconds=${2:-10}
export PALVEX_ROOT="$root"
. "$root/scripts/wine-env.sh"

. "$root/scripts/xvfb.sh"
[ -n "${DISPLAY:-}" ] || start_virtual_display
wineserver -k 2>/dev/null || true

cmake --build "$build" --target app_bench Dravik TessikSimulator >/dev/null
bench="$build/bench/app/app_bench.exe"
folder=$(winepath -w "$build/out/simulator")
export TESSIK_SIM_REPORT_DELAY_US=0 TESSIK_SIM_CHANNELS=32
wine "$bench" throughput "$folder" "$seconds"
wine "$bench" store blocks 1000000
wine "$bench" store vector 1000000
wine "$bench" table 1000000
wine "$bench" export 'Z:\dev\shm\palvex-bench-export.csv' 100000
