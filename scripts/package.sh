#!/bin/bash
# Builds the Windows package build/windows/package/Palvex-<version>-win64.zip: hardware/
# and simulator/ folders and the user guide. Prints the package's path and size.
set -u
cd "$(dirname "$0")/.."
. scripts/setup.sh

build_preset windows || exit 1
if ! (cd build/windows && cpack --config CPackConfig.cmake) >build/package.log 2>&1; then
    tail -20 build/package.log
    echo "packaging failed, see build/package.log" >&2
    exit 1
fi
for zip in build/windows/package/Palvex-*-win64.zip; do
    echo "package: $zip ($(du -k "$zip" | cut -f1) KiB)"
done
