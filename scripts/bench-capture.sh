#!/bin/bash
# Runs the palvex-capture benchmark under Wine, building what is missing: a capture of 32
# channels from the simulator without report delay, its frame rate and private bytes over the
# frames, and the reading of the recording it wrote (kept in a folder in memory) as --from
# reads it.
#   scripts/bench-capture.sh [build-dir] [frames]
set -eu
given=${1:+$(realpath -m "$1")}  # before the set-up moves to the repository root
. "$(dirname "$0")/setup.sh"
build=${given:-$(build_folder windows)}
frames=${2:-1000000}
build_in "$build" capture_bench
exec wine "$build/bench/capture/capture_bench.exe" "$frames" 'Z:\dev\shm\palvex-capture-bench.csv'
