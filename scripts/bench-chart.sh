#!/bin/bash
# Runs the chart benchmark under Wine: one refresh of a chart of the chart page against
# the bare Polyline floor, and a whole chart-page tick.
#   scripts/bench-chart.sh [build-dir] [repetitions]
# Uses the X display in $DISPLAY, or starts a private virtual display for the run.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/windows}
repetitions=${2:-300}
export PALVEX_ROOT="$root"
. "$root/scripts/wine-env.sh"

. "$root/scripts/xvfb.sh"
[ -n "${DISPLAY:-}" ] || start_virtual_display

cmake --build "$build" --target chart_bench >/dev/null
for data in touch waves; do
    wine "$build/bench/chart/chart_bench.exe" "$repetitions" "$data"
done
