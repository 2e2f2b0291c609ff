# Sourced by test.sh and run.sh from the repository root: installs what is missing,
# prepares the Wine prefix and brings in the Wine environment and the virtual display.
export PALVEX_ROOT=$(pwd)
scripts/install-deps.sh || exit 1
scripts/prepare-wine.sh || exit 1
. scripts/wine-env.sh
. scripts/xvfb.sh
