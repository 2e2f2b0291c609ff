#!/bin/bash
# Renders the chart page after a 32-channel recording from the simulated chip to a PNG, for
# comparing the page with its dialog template.
#   scripts/render-chartpage.sh [build-dir] [output.png] [frames]
# Builds what is missing. Uses the X display in $DISPLAY, or starts a private virtual display
# for the run.
set -eu
given=${1:+$(realpath -m "$1")}  # before the set-up moves to the repository root
. "$(dirname "$0")/setup.sh"
build=${given:-$(build_folder windows)}
out=${2:-$build/chartpage-demo.png}
frames=${3:-400}
use_display

build_in "$build" chartpage_demo
bmp=$(mktemp --suffix=.bmp)
wine "$build/tests/chartpage/chartpage_demo.exe" "$(windows_path "$bmp")" "$frames"
convert "$bmp" "$out"
rm -f "$bmp"
echo "$out"
