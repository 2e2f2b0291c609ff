# Sourced by test.sh, run.sh and every script that builds or runs Palvex: brings in the Wine
# environment (PALVEX_ROOT, the prefix, the display, windows_path), moves to the repository
# root, installs what a fresh machine is missing and prepares the Wine prefix.
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
cd "$PALVEX_ROOT" || exit 1
scripts/install-deps.sh || exit 1
scripts/prepare-wine.sh || exit 1

# The build folder of a preset.
build_folder() {
    printf '%s/build/%s' "$PALVEX_ROOT" "$1"
}

# Builds a folder quietly, all of it or only the given targets; on failure shows the end of
# build/<folder's name>.log. A preset's own folder is configured first, so that a fresh clone
# works; any other folder must have been configured already.
build_in() {
    local folder=$1 name
    shift
    name=$(basename "$folder")
    local log=$PALVEX_ROOT/build/$name.log targets=()
    [ $# -gt 0 ] && targets=(--target "$@")
    mkdir -p "$PALVEX_ROOT/build"
    if ! (
        if [ "$(realpath -m "$folder")" = "$(build_folder "$name")" ]; then
            cmake --preset "$name" || exit 1
        fi
        cmake --build "$folder" "${targets[@]}"
    ) >"$log" 2>&1; then
        tail -40 "$log"
        echo "build failed, see $log" >&2
        return 1
    fi
}

# Configures and builds a preset, all of it or only the given targets.
build_preset() {
    local preset=$1
    shift
    build_in "$(build_folder "$preset")" "$@"
}
