#!/bin/bash
# Renders the chart demo picture to a PNG, for looking at the chart control.
#   scripts/render-chart.sh [build-dir] [output.png]
# Needs the Windows build of chart_render_demo, Wine, Xvfb and ImageMagick. Uses the X
# display in $DISPLAY, or starts a private virtual display for the run.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/windows}
out=${2:-$build/chart-demo.png}
. "$root/scripts/wine-env.sh"
use_display

cmake --build "$build" --target chart_render_demo >/dev/null
bmp=$(mktemp --suffix=.bmp)
wine "$build/tests/chart/chart_render_demo.exe" "$(winepath -w "$bmp" 2>/dev/null)"
convert "$bmp" "$out"
rm -f "$bmp"
echo "$out"
