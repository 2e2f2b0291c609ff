#!/bin/bash
# Runs a 32-bit Windows program under Wine in the project's 32-bit prefix, which it makes on
# first use: the emulator through which CTest runs the 32-bit build's tests.
export PALVEX_WINE_ARCH=win32
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
"$PALVEX_ROOT/scripts/prepare-wine.sh" >&2 || exit 1
exec wine "$@"
