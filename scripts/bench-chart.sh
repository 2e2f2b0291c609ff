#!/bin/sh
# Runs the chart benchmark under Wine: one refresh of a chart of the chart page against
# the bare Polyline floor, and a whole chart-page tick.
#   scripts/bench-chart.sh [build-dir] [repetitions]
# Uses the X display in $DISPLAY, or starts a private Xvfb on :94 for the run.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/windows}
repetitions=${2:-300}
export PALVEX_ROOT="$root"
. "$root/scripts/wine-env.sh"

xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
    Xvfb :94 -screen 0 1280x900x24 >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=:94
    sleep 1
fi
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid"' EXIT

cmake --build "$build" --target chart_bench >/dev/null
for data in touch waves; do
    wine "$build/bench/chart/chart_bench.exe" "$repetitions" "$data"
done
