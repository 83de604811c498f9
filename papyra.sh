#!/bin/sh
# The everyday commands, usable on a fresh Debian 12 machine (which has no compiler, CMake or make):
#   ./papyra.sh run     installs what is missing, builds, and starts Papyra from its program folder
#   ./papyra.sh test    installs what is missing, builds, and runs every test headless
#   ./papyra.sh build   installs what is missing and builds
#   ./papyra.sh bench   builds and runs the benchmark program
#   ./papyra.sh format  formats the C++ files with .clang-format (CI fails on any difference)
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
check-format)
    sh scripts/install-deps.sh
    exec sh scripts/check-format.sh
    ;;
bench)
    shift
    build
    exec "$BUILD/bench/papyra-bench" "$@"
    ;;
*)
    echo "usage: $0 [run|test|build|bench|format|check-format]" >&2
    exit 2
    ;;
esac
