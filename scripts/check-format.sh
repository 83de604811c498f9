#!/bin/sh
# Fails when a tracked C++ file differs from what .clang-format says; with --fix, formats them in place.
set -e
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "clang-format is not installed (scripts/install-deps.sh installs it)" >&2; exit 1; }
files=$(git ls-files '*.cpp' '*.h')
if [ "$1" = "--fix" ]; then
    echo "$files" | xargs clang-format -i
    exit 0
fi
bad=""
for f in $files; do
    clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || bad="$bad $f"
done
if [ -n "$bad" ]; then
    echo "These files differ from .clang-format (run: ./papyra.sh format):" >&2
    for f in $bad; do echo "  $f" >&2; done
    exit 1
fi
echo "Formatting: every C++ file follows .clang-format."
