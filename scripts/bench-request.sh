#!/bin/bash
# Builds and runs the frame-read benchmark (native, optimised): one frame-read exchange with
# the adapter simulator plus decoding of 32 channels. Extra arguments go to the benchmark,
# e.g. --benchmark_repetitions=5.
set -eu
. "$(dirname "$0")/setup.sh"
build=${PALVEX_BENCH_BUILD:-build/bench-native}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target bench_request >/dev/null
exec "$build/bench/request/bench_request" "$@"
