#!/bin/bash
# Builds both Windows packages under build/<preset>/package/: Palvex-<version>-win64.zip and,
# for adapters whose own Tessik.dll is a 32-bit library, Palvex-<version>-win32.zip, each with
# hardware/ and simulator/ folders and the user guide. Prints each package's path and size.
set -u
cd "$(dirname "$0")/.."
. scripts/setup.sh

for preset in windows windows-x86; do
    build_preset "$preset" Palvex palvex-capture Dravik TessikHid TessikSimulator || exit 1
    if ! (cd "build/$preset" && cpack --config CPackConfig.cmake) >"build/package-$preset.log" 2>&1
    then
        tail -20 "build/package-$preset.log"
        echo "packaging failed, see build/package-$preset.log" >&2
        exit 1
    fi
done
for zip in build/windows/package/Palvex-*-win64.zip build/windows-x86/package/Palvex-*-win32.zip; do
    echo "package: $zip ($(du -k "$zip" | cut -f1) KiB)"
done
