#!/bin/bash
# Runs the acquisition benchmarks under Wine, each in a process of its own: the main dialog
# receiving from the simulator with 32 channels (without delay unless --delay-us), with the
# window's answer times and the age of the key evaluation's figures meanwhile, the store's
# growth and its longest append over a million frames (against one growing vector per series),
# the data table of a million rows (against an ordinary report list), the CSV export into a
# folder in memory and opening a 32-channel recording of 200,000 frames in the window.
#   scripts/bench-app.sh [--pin CORE] [--load N] [--delay-us MICROS] [--throughput-only]
#                        [build-dir] [seconds]
#     --pin CORE         runs the receiving benchmark, its Wine server included, on that one
#                        processor core (taskset), as a slower machine would: its answer times
#                        and the whole-table repaint time then come from the same crowded core
#     --load N           also keeps N busy loops running on that core meanwhile, for a machine
#                        slower still (until a whole repaint of the table takes 25 ms or more)
#     --delay-us MICROS  the simulator's time per report (1000: the real adapter's rate)
#     --throughput-only  runs the receiving benchmark alone
# Uses the X display in $DISPLAY, or starts a private virtual display for the run.
set -eu
pin=() core="" load=0 delay=0 only=0
while [ $# -gt 0 ]; do
    case $1 in
        --pin) core=${2:?--pin needs a core number}; pin=(taskset -c "$core"); shift 2 ;;
        --load) load=${2:?--load needs a number of busy loops}; shift 2 ;;
        --delay-us) delay=${2:?--delay-us needs a number of microseconds}; shift 2 ;;
        --throughput-only) only=1; shift ;;
        --*) echo "unknown option $1" >&2; exit 2 ;;
        *) break ;;
    esac
done
given=${1:+$(realpath -m "$1")}  # before the set-up moves to the repository root
. "$(dirname "$0")/setup.sh"
build=${given:-$(build_folder windows)}
seconds=${2:-10}
use_display
wineserver -k 2>/dev/null || true

build_in "$build" app_bench Dravik TessikSimulator
bench="$build/bench/app/app_bench.exe"
folder=$(windows_path "$build/out/simulator")
# The next Wine program starts a new server, which inherits the pinning.
wineserver -w
busy=()
if [ "$load" -gt 0 ]; then
    [ -n "$core" ] || { echo "--load needs --pin" >&2; exit 2; }
    for _ in $(seq "$load"); do
        taskset -c "$core" bash -c 'while :; do :; done' &
        busy+=($!)
    done
    trap 'kill "${busy[@]}" 2>/dev/null; stop_virtual_display' EXIT
fi
TESSIK_SIM_REPORT_DELAY_US=$delay TESSIK_SIM_CHANNELS=32 \
    "${pin[@]}" wine "$bench" throughput "$folder" "$seconds"
wineserver -w
[ ${#busy[@]} -eq 0 ] || kill "${busy[@]}"
busy=()
[ "$only" -eq 0 ] || exit 0
export TESSIK_SIM_REPORT_DELAY_US=0 TESSIK_SIM_CHANNELS=32
wine "$bench" store blocks 1000000
wine "$bench" store vector 1000000
wine "$bench" table 1000000
wine "$bench" export 'Z:\dev\shm\palvex-bench-export.csv' 100000
wine "$bench" load 'Z:\dev\shm\palvex-bench-recording.csv' 200000
