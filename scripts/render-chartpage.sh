#!/bin/bash
# Renders the chart page after a 32-channel recording from the simulated chip to a PNG, for
# comparing the page with its dialog template.
#   scripts/render-chartpage.sh [build-dir] [output.png] [frames]
# Needs the Windows build of chartpage_demo, Wine, Xvfb and ImageMagick. Uses the X
# display in $DISPLAY, or starts a private virtual display for the run.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/windows}
out=${2:-$build/chartpage-demo.png}
frames=${3:-400}
. "$root/scripts/wine-env.sh"
use_display

cmake --build "$build" --target chartpage_demo >/dev/null
bmp=$(mktemp --suffix=.bmp)
wine "$build/tests/chartpage/chartpage_demo.exe" "$(winepath -w "$bmp" 2>/dev/null)" "$frames"
convert "$bmp" "$out"
rm -f "$bmp"
echo "$out"
