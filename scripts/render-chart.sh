#!/bin/bash
# Renders the chart demo picture to a PNG, for looking at the chart control.
#   scripts/render-chart.sh [build-dir] [output.png]
# Builds what is missing. Uses the X display in $DISPLAY, or starts a private virtual display
# for the run.
set -eu
given=${1:+$(realpath -m "$1")}  # before the set-up moves to the repository root
. "$(dirname "$0")/setup.sh"
build=${given:-$(build_folder windows)}
out=${2:-$build/chart-demo.png}
use_display

build_in "$build" chart_render_demo
bmp=$(mktemp --suffix=.bmp)
wine "$build/tests/chart/chart_render_demo.exe" "$(windows_path "$bmp")"
convert "$bmp" "$out"
rm -f "$bmp"
echo "$out"
