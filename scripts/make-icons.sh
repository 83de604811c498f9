#!/bin/sh
# Writes the desktop icons again from the program's own icon (packaging/icons, hicolor layout:
# PNG at 48, 128 and 256 pixels, and SVG). Run it after the icon changes, look at them, commit them.
set -e
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
[ -f "$BUILD/CMakeCache.txt" ] || cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD" -j 2 --target papyra-mkicons
rm -rf packaging/icons
QT_QPA_PLATFORM=offscreen "$BUILD/src/papyra-mkicons" packaging/icons example.papyra.Papyra
find packaging/icons -type f | sort
