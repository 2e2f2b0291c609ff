#!/bin/bash
# Builds every configuration and runs every test: natively, with sanitizers, the fuzz
# targets for a few seconds, the Windows build under Wine in a virtual display, the outside
# scenarios against the built and the packaged program, the 32-bit build's tests under 32-bit
# Wine, and a one-minute soak. Installs what a fresh Debian 12 machine is missing. Exits non-zero
# on any failure; 32-bit tests that cannot run on this machine are reported as NOT RUN with the
# reason, which alone fails nothing.
set -u
cd "$(dirname "$0")"
. scripts/setup.sh

summary=()
failed=0

record() {  # name, status, seconds, detail
    summary+=("$(printf '%-12s %-7s %4ss  %s' "$1" "$2" "$3" "$4")")
    [ "$2" = "PASS" ] || [ "$2" = "NOT RUN" ] || failed=1
}

check_format() {
    local start=$SECONDS files bad
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
    bad=$(clang-format --dry-run --Werror "${files[@]}" 2>&1 | grep -c 'error:' || true)
    if [ "$bad" -eq 0 ]; then
        record format PASS $((SECONDS - start)) "${#files[@]} files formatted"
    else
        clang-format --dry-run "${files[@]}" 2>&1 | grep 'error:' | cut -d: -f1 | sort -u
        record format FAIL $((SECONDS - start)) "$bad formatting differences"
    fi
}

run_tests() {  # preset, ctest arguments...
    local preset=$1 start=$SECONDS
    shift
    if ! build_preset "$preset"; then
        record "$preset" FAIL $((SECONDS - start)) "build failed, see build/$preset.log"
        return
    fi
    run_ctest "$preset" "$preset" $start "$@"
}

run_ctest() {  # name, preset, start second, ctest arguments...
    local name=$1 preset=$2 start=$3 log=build/$1-test.log out
    shift 3
    ctest --preset "$preset" "$@" >"$log" 2>&1
    local rc=$?
    out=$(grep -E '^[0-9]+% tests passed' "$log" || echo "no tests ran")
    if [ $rc -eq 0 ] && grep -q 'tests passed' "$log"; then
        record "$name" PASS $((SECONDS - start)) "$out"
    else
        grep -E '\*\*\*|Failed|FAILED' "$log" | head -20
        record "$name" FAIL $((SECONDS - start)) "$out, see $log"
    fi
}

# The soak for a minute: its figures go to build/soak.log, its summary line to the table.
run_soak() {
    local start=$SECONDS
    if scripts/soak.sh 1 >build/soak.log 2>&1; then
        record soak PASS $((SECONDS - start)) "$(grep -E '^soak:' build/soak.log)"
    else
        tail -20 build/soak.log
        record soak FAIL $((SECONDS - start)) "see build/soak.log"
    fi
}

run_fuzz() {
    local start=$SECONDS
    if ! build_preset native-fuzz; then
        record fuzz FAIL $((SECONDS - start)) "build failed, see build/native-fuzz.log"
        return
    fi
    if scripts/fuzz.sh "${PALVEX_FUZZ_SECONDS:-5}" >build/fuzz.log 2>&1; then
        record fuzz PASS $((SECONDS - start)) "$(tail -1 build/fuzz.log)"
    else
        tail -20 build/fuzz.log
        record fuzz FAIL $((SECONDS - start)) "see build/fuzz.log"
    fi
}

# The 32-bit build: the programs and the tests that cross the libraries' boundaries or drive the
# programs (the request module, the HID transport, the device connection and palvex-capture with
# the C stand-in Tessik.dll, the simulator scenarios), run under 32-bit Wine where it runs here.
X86_TEST_PROGRAMS=(request_tests hid_transport_tests device_connection_tests key_figures_tests
                   capture_core_tests capture_program_tests e2e_scenarios)
X86_TESTS=("${X86_TEST_PROGRAMS[@]}" e2e_foreign_tessik)
run_32bit_tests() {
    local start=$SECONDS reason
    if ! build_preset windows-x86 Palvex palvex-capture Dravik TessikHid TessikSimulator \
        "${X86_TEST_PROGRAMS[@]}"; then
        record windows-x86 FAIL $((SECONDS - start)) "build failed, see build/windows-x86.log"
        return
    fi
    reason=$(wine32_missing_reason)
    if [ -n "$reason" ]; then
        record windows-x86 "NOT RUN" $((SECONDS - start)) "built; $reason"
        return
    fi
    (PALVEX_WINE_ARCH=win32 && . scripts/wine-env.sh && wineserver -k 2>/dev/null)
    local names="${X86_TESTS[*]}"
    run_ctest windows-x86 windows-x86 $start -R "^(${names// /|})\$"
}

check_format
run_tests native -j2
run_tests native-asan -j2
run_tests native-tsan -j2
[ -x scripts/fuzz.sh ] && run_fuzz
if start_virtual_display; then
    run_tests windows -LE e2e
    run_ctest e2e windows $SECONDS -L e2e
    run_32bit_tests
    stop_virtual_display
    run_soak  # in a display of its own
else
    record windows FAIL 0 "no virtual display"
fi

echo
printf '%s\n' "${summary[@]}"
exit $failed
