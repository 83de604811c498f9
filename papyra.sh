#!/bin/sh
# The everyday commands, usable on a fresh Debian 12 machine (which has no compiler, CMake or make):
#   ./papyra.sh run     installs what is missing, builds, and starts Papyra from its program folder
#   ./papyra.sh test    installs what is missing, builds, and runs every test headless
#   ./papyra.sh build   installs what is missing and builds
#   ./papyra.sh bench   builds and runs the benchmark program
#   ./papyra.sh check-translations
#                       fails while a shown text is missing or unfinished in translations/*.ts
#   ./papyra.sh format  formats the C++ files with .clang-format (CI fails on any difference)
#   ./papyra.sh package builds the Debian package build/papyra_<version>_<arch>.deb and checks its
#                       desktop entry and AppStream metainfo
#   ./papyra.sh fuzz [name] [seconds]
#                       builds the fuzz targets (clang, libFuzzer, sanitizers) in build-fuzz and
#                       runs each (or only fuzz_<name>) for 180 seconds; see docs/FUZZING.md
set -e
cd "$(dirname "$0")"

BUILD=${BUILD:-build}
JOBS=${JOBS:-$(nproc 2>/dev/null || echo 2)}

build() {
    sh scripts/install-deps.sh
    cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$BUILD" -j "$JOBS"
}

case "${1:-run}" in
build)
    build
    ;;
run)
    build
    cd "$BUILD/papyra"
    exec ./papyra
    ;;
test)
    build
    cd "$BUILD"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$JOBS"
    ;;
format)
    sh scripts/install-deps.sh
    exec sh scripts/check-format.sh --fix
    ;;
check-translations)
    sh scripts/install-deps.sh
    exec sh scripts/check-translations.sh
    ;;
check-format)
    sh scripts/install-deps.sh
    exec sh scripts/check-format.sh
    ;;
bench)
    shift
    build
    exec "$BUILD/bench/papyra-bench" "$@"
    ;;
package)
    build
    rm -f "$BUILD"/papyra_*.deb
    (cd "$BUILD" && cpack -G DEB)
    sh scripts/check-package.sh "$BUILD"/papyra_*.deb
    ;;
fuzz)
    # clang's sanitizer and libFuzzer runtimes are needed for fuzzing only, not to build or run Papyra.
    sh scripts/install-deps.sh clang libclang-rt-14-dev
    cmake -S . -B build-fuzz -DPAPYRA_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build-fuzz -j "$JOBS" --target papyra_fuzz
    seconds=${3:-180}
    for target in build-fuzz/fuzz/fuzz_*; do
        [ -f "$target" ] && [ -x "$target" ] || continue
        name=$(basename "$target")
        [ -z "${2:-}" ] || [ "$name" = "fuzz_$2" ] || [ "$name" = "$2" ] || continue
        corpus=build-fuzz/corpus/$name
        mkdir -p "$corpus" "build-fuzz/findings/$name"
        [ -d "fuzz/seeds/$name" ] && cp -n fuzz/seeds/"$name"/* "$corpus"/ 2>/dev/null || true
        echo "== $name, $seconds s"
        # One target at a time, one process: the machine is shared.
        "$target" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
            -artifact_prefix="build-fuzz/findings/$name/" -print_final_stats=1 || exit 1
    done
    ;;
*)
    echo "usage: $0 [run|test|build|bench|format|check-format|check-translations|fuzz|package]" >&2
    exit 2
    ;;
esac
