#!/bin/bash
# Runs the palvex-capture benchmark under Wine: a capture of 32 channels from the simulator
# without report delay, its frame rate and private bytes over the frames, and the reading of
# the recording it wrote (kept in a folder in memory) as --from reads it.
#   scripts/bench-capture.sh [build-dir] [frames]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/windows}
frames=${2:-1000000}
. "$root/scripts/wine-env.sh"
cmake --build "$build" --target capture_bench >/dev/null
exec wine "$build/bench/capture/capture_bench.exe" "$frames" 'Z:\dev\shm\palvex-capture-bench.csv'
