#!/bin/bash
# palvex-capture against what only the world outside Wine can do to it: a small file system that
# fills up (a tmpfs mounted here, which needs root) and Ctrl+C (Wine turns a SIGINT into the
# console's Ctrl+C event; its GenerateConsoleCtrlEvent reaches no other process).
#
# usage: outside.sh small-disk|interrupt WINE SIMULATOR_FOLDER RECORDING_FILES_TESTS WORK_FOLDER
# Exit code 0 when every check holds, 1 when one fails, 77 when the small file system cannot be
# mounted (the test is then reported as skipped, with the reason).
set -u
mode=$1 wine=$2 simulator=$3 files_tests=$4 work=$5
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
windows_path() {
    printf 'Z:%s' "$(realpath -m "$1")" | tr / '\\'
}
# palvex-capture of the simulator folder with the arguments; standard output and error go to
# $out and $err.
capture() {
    (cd "$simulator" && TESSIK_SIM_REPORT_DELAY_US=0 exec "$wine" palvex-capture.exe "$@") \
        >"$out" 2>"$err"
}
# Waits up to seconds for a command to succeed.
wait_for() {
    local seconds=$1
    shift
    for _ in $(seq $((seconds * 10))); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
expect_exit() {  # code, what
    [ "$status" = "$1" ] || fail "$2: exit code $status, not $1; stderr: $(cat "$err")"
}
expect_err() {  # text, what
    grep -qF -- "$1" "$err" || fail "$2: no \"$1\" on standard error: $(cat "$err")"
}
expect_bytes() {  # file, content, what
    [ "$(cat "$1")" = "$2" ] || fail "$3: $1 holds \"$(head -c 80 "$1")\", not \"$2\""
}
# The lines of a recording cut after frames frames: the header and one whole line per frame.
expect_whole_lines() {  # file, frames, what
    local lines
    lines=$(wc -l <"$1")
    [ "$lines" = $(($2 + 1)) ] || fail "$3: $lines lines in $1 for $2 frames"
    [ "$(grep -vc $',\r$' "$1")" = 0 ] || fail "$3: a line of $1 does not end in \",\\r\\n\""
    tail -1 "$1" | grep -q "^$2," || fail "$3: the last line of $1 is not frame $2"
}

small_disk() {
    disk=$work/small-disk
    mkdir -p "$disk"
    umount "$disk" 2>/dev/null
    if ! mount -t tmpfs -o size=1m palvex-small-disk "$disk" 2>"$work/mount.err"; then
        echo "SKIPPED: a small file system could not be mounted at $disk ($(cat "$work/mount.err"));" \
            "the full-disk tests need root and permission to mount a tmpfs"
        exit 77
    fi
    trap 'umount "$disk" 2>/dev/null || umount -l "$disk"' EXIT

    # The writer itself, filling the disk.
    mkdir "$disk/writer"
    PALVEX_SMALL_DISK=$(windows_path "$disk/writer") "$wine" "$files_tests" \
        --gtest_filter='ReplacementFileTest.ADiskThatFillsUpLeavesTheOldFile' >"$work/writer.log" 2>&1 ||
        fail "the writer on a full disk: $(grep -A3 Failure "$work/writer.log")"
    grep -q '^\[  PASSED  \] 1 test' "$work/writer.log" || fail "the writer's test did not run"
    rm -rf "$disk/writer"

    # palvex-capture's recording and its summary: exit code 2 with the system's reason, the
    # earlier files as they were, nothing left beside them.
    local recording=$work/recording.csv
    capture --frames 300 --out "$(windows_path "$recording")"
    [ -s "$recording" ] || fail "no recording to judge: $(cat "$err")"
    printf 'earlier recording' >"$disk/keys.csv"
    printf 'earlier figures' >"$disk/figures.csv"
    head -c 2M /dev/zero >"$disk/filler" 2>/dev/null
    TESSIK_SIM_CHANNELS=32 capture --frames 2000 --out "$(windows_path "$disk/keys.csv")"
    status=$?
    expect_exit 2 "--out on a full disk"
    expect_err "keys.csv cannot be written: " "--out on a full disk"
    expect_err "(system error 112)" "--out on a full disk"
    capture --from "$(windows_path "$recording")" --summary-csv "$(windows_path "$disk/figures.csv")"
    status=$?
    expect_exit 2 "--summary-csv on a full disk"
    expect_err "figures.csv cannot be written: " "--summary-csv on a full disk"
    expect_err "(system error 112)" "--summary-csv on a full disk"
    expect_bytes "$disk/keys.csv" "earlier recording" "--out on a full disk"
    expect_bytes "$disk/figures.csv" "earlier figures" "--summary-csv on a full disk"
    [ "$(ls "$disk" | tr '\n' ' ')" = "figures.csv filler keys.csv " ] ||
        fail "files left on the full disk: $(ls "$disk")"
}

# Starts a capture that would run for hours, waits for its first progress line, then sends it
# Ctrl+C. Sets status.
capture_until_interrupted() {
    (cd "$simulator" && TESSIK_SIM_CHANNELS=4 exec "$wine" palvex-capture.exe \
        --frames 100000000 --lang en "$@") >"$out" 2>"$err" &
    local pid=$!
    wait_for 60 grep -q "frames/s" "$err" || fail "no progress within a minute: $(cat "$err")"
    "${before_interrupt[@]}"
    kill -INT "$pid"
    if ! wait_for 60 eval '! kill -0 '"$pid"' 2>/dev/null'; then
        fail "still running a minute after Ctrl+C"
        kill -KILL "$pid"
    fi
    wait "$pid"
    status=$?
}

interrupt() {
    local folder=$work/interrupt
    rm -rf "$folder"
    mkdir -p "$folder"

    # Ctrl+C: the frames so far as whole lines in the target, the figures printed, exit code 2.
    before_interrupt=(true)
    capture_until_interrupted --out "$(windows_path "$folder/keys.csv")" --summary
    expect_exit 2 "Ctrl+C"
    expect_err "interrupted after " "Ctrl+C"
    local frames
    frames=$(sed -n 's/.*interrupted after \([0-9]*\) frames.*/\1/p' "$err")
    [ -n "$frames" ] && expect_whole_lines "$folder/keys.csv" "$frames" "Ctrl+C"
    grep -q "^channel" "$out" || fail "Ctrl+C: no figures printed: $(cat "$out")"

    # The target made read-only during the capture: the finished recording stays under the
    # name printed, the target as it was.
    printf 'earlier recording' >"$folder/held.csv"
    before_interrupt=(chmod a-w "$folder/held.csv")
    capture_until_interrupted --out "$(windows_path "$folder/held.csv")"
    expect_exit 2 "a target that cannot be replaced"
    expect_err "held.csv cannot be replaced: " "a target that cannot be replaced"
    expect_bytes "$folder/held.csv" "earlier recording" "a target that cannot be replaced"
    local kept
    kept=$(sed -n 's/.*the recording is kept as \(.*\)\r$/\1/p' "$err")
    frames=$(sed -n 's/.*interrupted after \([0-9]*\) frames.*/\1/p' "$err")
    if [ -z "$kept" ]; then
        fail "no name of the kept recording: $(cat "$err")"
    else
        kept=$(printf '%s' "${kept#Z:}" | tr '\\' /)
        expect_whole_lines "$kept" "$frames" "the kept recording"
    fi
}

mkdir -p "$work"
out=$work/$mode.out
err=$work/$mode.err
case $mode in
    small-disk) small_disk ;;
    interrupt) interrupt ;;
    *)
        echo "unknown mode $mode"
        exit 1
        ;;
esac
[ $failures = 0 ] && echo "$mode: every check holds"
[ $failures = 0 ]
