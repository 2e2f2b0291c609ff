# Sourced by test.sh, run.sh and the scripts from the repository root: installs what is missing,
# prepares the Wine prefix and brings in the Wine environment and its display.
export PALVEX_ROOT=$(pwd)
scripts/install-deps.sh || exit 1
scripts/prepare-wine.sh || exit 1
. scripts/wine-env.sh

# Configures and builds a preset quietly; on failure shows the end of build/<preset>.log.
build_preset() {
    mkdir -p build
    if ! { cmake --preset "$1" && cmake --build --preset "$1"; } >"build/$1.log" 2>&1; then
        tail -40 "build/$1.log"
        echo "build failed, see build/$1.log" >&2
        return 1
    fi
}
