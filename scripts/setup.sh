# Sourced by test.sh, run.sh and the scripts from the repository root: installs what is missing,
# prepares the Wine prefix and brings in the Wine environment and its display.
export PALVEX_ROOT=$(pwd)
scripts/install-deps.sh || exit 1
scripts/prepare-wine.sh || exit 1
. scripts/wine-env.sh

# Configures and builds a preset quietly, all of it or the targets named after it; on failure
# shows the end of build/<preset>.log.
build_preset() {
    local preset=$1 targets=()
    shift
    [ $# -gt 0 ] && targets=(--target "$@")
    mkdir -p build
    if ! { cmake --preset "$preset" && cmake --build --preset "$preset" "${targets[@]}"; } \
        >"build/$preset.log" 2>&1; then
        tail -40 "build/$preset.log"
        echo "build failed, see build/$preset.log" >&2
        return 1
    fi
}
