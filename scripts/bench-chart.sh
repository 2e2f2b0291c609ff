#!/bin/bash
# Runs the chart benchmarks under Wine: one refresh of a chart of the chart page against the
# bare Polyline floor (touch-like and wave data), then a whole timer tick of the real chart
# page with 32 channels at n = 999 and n = 100 against the floor of the same points.
#   scripts/bench-chart.sh [build-dir] [repetitions]
# Uses the X display in $DISPLAY, or starts a private virtual display for the run.
set -eu
given=${1:+$(realpath -m "$1")}  # before the set-up moves to the repository root
. "$(dirname "$0")/setup.sh"
build=${given:-$(build_folder windows)}
repetitions=${2:-300}
use_display

build_in "$build" chart_bench chartpage_bench
for data in touch waves; do
    wine "$build/bench/chart/chart_bench.exe" "$repetitions" "$data"
done
wine "$build/bench/chartpage/chartpage_bench.exe" "$repetitions" 999 100
