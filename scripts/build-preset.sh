# Sourced by the scripts that build, from the repository's root: build_preset PRESET
# [TARGET...] configures the preset (its log in build/configure-PRESET.log, shown only
# when configuring fails) and builds it whole or only the given targets.
build_preset() {
    local preset=$1
    shift
    mkdir -p build
    cmake --preset "$preset" >"build/configure-$preset.log" 2>&1 || {
        cat "build/configure-$preset.log"
        return 1
    }
    cmake --build --preset "$preset" -j "${FOLDTALLY_JOBS:-2}" ${1:+--target "$@"}
}
