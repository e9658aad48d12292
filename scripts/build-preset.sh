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

# check_preset PRESET: a build this machine cannot run, checked without its tests' cost,
# in build/PRESET-check: the programs are built whole without optimisation (every
# library, the resources, the link), and every other source, the tests' and the
# benchmarks' among them, goes through the compiler's checks without code being made
# (with GoogleTest's header precompiled for them, as in a full build).
# So nothing of it breaks unseen; the warnings only the optimiser finds come from the
# same sources in the optimised build that runs here.
check_preset() {
    local preset=$1 dir=build/$1-check
    mkdir -p build
    cmake --preset "$preset" -B "$dir" -DCMAKE_BUILD_TYPE= >"build/configure-$preset-check.log" 2>&1 || {
        cat "build/configure-$preset-check.log"
        return 1
    }
    cmake --build "$dir" -j "${FOLDTALLY_JOBS:-2}" \
        --target foldtally foldtally-report foldtally-mailgen desktop_keeper ft_testsupport || return 1
    # Skipped: what the programs' build compiled (the libraries, also in their batches)
    # and the test framework's own sources.
    python3 - "$dir/compile_commands.json" "$PWD/src/" "$PWD/$dir/src/" /usr/src/googletest/ <<'PY' |
import json, shlex, sys
built = tuple(sys.argv[2:])
checked = 0
for entry in json.load(open(sys.argv[1])):
    if entry["file"].startswith(built) or not entry["file"].endswith((".cpp", ".cxx", ".cc", ".c")):
        continue
    words = shlex.split(entry["command"])
    keep, skip = [], 0
    for word in words:
        if skip:
            skip -= 1
        elif word in ("-o", "-MF", "-MT"):
            skip = 1
        elif word not in ("-c", "-MD"):
            keep.append(word)
    print("cd %s && %s -fsyntax-only" % (shlex.quote(entry["directory"]), shlex.join(keep)), end="\0")
    checked += 1
# The tests' and benchmarks' sources are always there: none found means a broken filter,
# which would pass the check unseen.
sys.exit(0 if checked else "no test or benchmark source to check in " + sys.argv[1])
PY
        xargs -0 -r -n1 -P "${FOLDTALLY_JOBS:-2}" bash -c
}
