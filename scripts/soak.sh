#!/bin/bash
# The soak: drives Palvex from outside for the given minutes (default 10) through random
# open / receive / stop / clear / close cycles, page switches, scrolling, drags and point
# counts, while the adapter simulator brings random faults. Prints its figures; exits
# non-zero on any problem (a crash, a window that does not answer within 1 s, rows that do
# not match the frames, memory or objects that do not come back after a close).
#   scripts/soak.sh [minutes]     PALVEX_SOAK_SEED=n repeats a run
set -u
. "$(dirname "$0")/setup.sh"

minutes=${1:-10}
case $minutes in
'' | *[!0-9]*) echo "usage: scripts/soak.sh [whole minutes]" >&2; exit 2 ;;
esac

build_preset windows || exit 1

start_virtual_display || exit 1
wine build/windows/tests/e2e/palvex_soak.exe "$(windows_path build/windows/out/simulator)" \
    $((minutes * 60)) ${PALVEX_SOAK_SEED:-}
status=$?
wineserver -k 2>/dev/null
exit $status
