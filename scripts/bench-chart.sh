#!/bin/bash
# Runs the chart benchmarks under Wine: one refresh of a chart of the chart page against the
# bare Polyline floor (touch-like and wave data), then a whole timer tick of the real chart
# page with 32 channels at n = 999 and n = 100 against the floor of the same points.
#   scripts/bench-chart.sh [build-dir] [repetitions]
# Uses the X display in $DISPLAY, or starts a private virtual display for the run.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/windows}
repetitions=${2:-300}
. "$root/scripts/wine-env.sh"
use_display

cmake --build "$build" --target chart_bench chartpage_bench >/dev/null
for data in touch waves; do
    wine "$build/bench/chart/chart_bench.exe" "$repetitions" "$data"
done
wine "$build/bench/chartpage/chartpage_bench.exe" "$repetitions" 999 100
