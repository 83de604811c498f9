#!/bin/sh
# Draws the guided tour's 47 pictures again from the program's own windows and puts them where
# the build picks them up (resources/program/slideshow/images). Run it after the windows change,
# look at the pictures, and commit them.
set -e
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
[ -f "$BUILD/CMakeCache.txt" ] || cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD" -j 2 --target papyra-mkslides
OUT=resources/program/slideshow/images
rm -f "$OUT"/*.jpg
"$BUILD/src/papyra-mkslides" "$OUT" resources/program
ls "$OUT" | wc -l | xargs echo "pictures:"
du -ch "$OUT"/*.jpg | tail -1
