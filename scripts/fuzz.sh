#!/bin/bash
# Runs every libFuzzer target of the native-fuzz build for about the given number of seconds
# in total (default 60), split evenly between the targets, and fails when one of them finds a
# crash, a leak or an input that takes longer than 10 seconds. Builds the preset when its fuzz
# targets are missing. Each target starts from its seed corpus in tests/fuzz/corpus/<target>/
# and from what it found in earlier runs (kept in the build folder), and ends with the
# coverage it reached: libFuzzer's cov (code edges) and ft (features) figures.
set -u
. "$(dirname "$0")/setup.sh"
seconds=${1:-60}
build=${PALVEX_FUZZ_BUILD:-build/native-fuzz}

list_targets() {
    local file
    for file in "$build"/fuzz/fuzz_*; do
        [ -f "$file" ] && [ -x "$file" ] && echo "$file"
    done
}

if [ -z "$(list_targets)" ]; then
    if [ "$build" = build/native-fuzz ]; then
        { cmake --preset native-fuzz && cmake --build --preset native-fuzz; } >/dev/null || exit 1
    else
        { cmake --preset native-fuzz -B "$build" && cmake --build "$build"; } >/dev/null || exit 1
    fi
fi
mapfile -t targets < <(list_targets)
count=${#targets[@]}
each=$(( seconds / count ))
[ "$each" -lt 1 ] && each=1

failed=0
summary=""
for target in "${targets[@]}"; do
    name=$(basename "$target")
    corpus=$build/fuzz-corpus/$name
    seeds=tests/fuzz/corpus/$name
    mkdir -p "$corpus"
    mkdir -p "$build/fuzz-logs"
    log=$build/fuzz-logs/$name.log
    seed_dirs=()
    [ -d "$seeds" ] && seed_dirs=("$seeds")
    if "$target" "$corpus" "${seed_dirs[@]}" -max_total_time="$each" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/fuzz-logs/$name-" >"$log" 2>&1; then
        runs=$(grep -oE '^stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$')
        reached=$(grep -E '^#[0-9]+' "$log" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+')
        echo "$name: ${runs:-0} runs, ${reached:-no coverage figures}"
        summary+="$name ${runs:-0} runs ${reached:-} ok; "
    else
        tail -30 "$log"
        summary+="$name FAILED (see $log); "
        failed=1
    fi
done
echo "fuzz: $count targets, ${each}s each: ${summary% }"
exit $failed
