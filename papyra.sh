#!/bin/sh
# The everyday commands, usable on a fresh Debian 12 machine (which has no compiler, CMake or make):
#   ./papyra.sh run     installs what is missing, builds, and starts Papyra from its program folder
#   ./papyra.sh test    installs what is missing, builds, runs each test executable directly under
#                       a German and a British locale, then every test headless under CTest
#   ./papyra.sh build   installs what is missing and builds
#   ./papyra.sh bench   builds and runs the benchmark program (--check: every benchmark once, untimed)
#   ./papyra.sh check-translations
#                       fails while a shown text is missing or unfinished in translations/*.ts
#   ./papyra.sh format  formats the C++ files with .clang-format (CI fails on any difference)
#   ./papyra.sh package builds the Debian package build/papyra_<version>_<arch>.deb and checks its
#                       desktop entry and AppStream metainfo
#   ./papyra.sh windows builds Papyra for Windows with mingw-w64 (Qt for Windows first, once, into
#                       ~/.cache/papyra-windows): build-windows/papyra-<version>-setup.exe and a
#                       portable zip; by hand before a release, not in CI
#   ./papyra.sh windows-trial
#                       tries that build under Wine: silent install, first start, the Windows tests
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

# Runs each test executable directly, outside CTest's environment, under each locale given: a test
# must pass whatever the locale of the shell that starts it (each pins its own, see
# tests/support/PinnedEnvironment.cpp). Prints a line per locale, and the output of a failing test.
direct_test_runs() {
    mkdir -p "$BUILD/direct-runs"
    failed=""
    for lang in "$@"; do
        count=0
        for t in "$BUILD"/tests/tst_*; do
            [ -f "$t" ] && [ -x "$t" ] || continue
            name=$(basename "$t")
            log="$BUILD/direct-runs/$name.$lang.log"
            if (cd "$BUILD/tests" && env -u LC_ALL -u LC_CTYPE -u LC_NUMERIC -u LC_TIME -u LC_COLLATE \
                -u LC_MONETARY -u LC_MESSAGES -u LC_PAPER -u LC_MEASUREMENT -u LANGUAGE -u TZ -u QT_QPA_PLATFORM \
                LANG="$lang" timeout 120 "./$name") >"$log" 2>&1; then
                count=$((count + 1))
            else
                cat "$log"
                failed="$failed $name($lang)"
            fi
        done
        echo "Run directly with LANG=$lang: $count test executables passed"
    done
    if [ -n "$failed" ]; then
        echo "Failed when run directly:$failed" >&2
        return 1
    fi
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
    direct_test_runs de_DE.UTF-8 en_GB.UTF-8
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
windows)
    exec sh scripts/build-windows.sh
    ;;
windows-trial)
    exec sh scripts/try-windows.sh
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
    echo "usage: $0 [run|test|build|bench|format|check-format|check-translations|fuzz|package|windows|windows-trial]" >&2
    exit 2
    ;;
esac
