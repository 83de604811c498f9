#!/bin/sh
# Installs the Debian packages Papyra needs to build, test and run, if any are missing.
# As root it uses apt-get; otherwise it prints the command to run with sudo and stops.
set -e

# poppler-utils: the tests read the printed report's PDF pages with pdftotext and pdftoppm.
# libzint-dev: zint draws the QR Code, Data Matrix and Code 128 symbols on labels.
# zbar-tools, dmtx-utils: the label tests read the printed codes back with zbarimg and dmtxread.
# clang-format: CI checks that the code follows .clang-format.
# desktop-file-utils, appstream: `./papyra.sh package` checks the package's desktop entry and
# AppStream metainfo with desktop-file-validate and appstreamcli.
PACKAGES="build-essential cmake qt6-base-dev qt6-qpa-plugins libqt6sql6-sqlite libsqlite3-dev libzint-dev libgl-dev fonts-dejavu-core poppler-utils zbar-tools dmtx-utils clang-format desktop-file-utils appstream"
# Packages named on the command line are wanted too (papyra.sh fuzz asks for clang and its sanitizer runtimes).
PACKAGES="$PACKAGES $*"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq || true
    apt-get install -y --no-install-recommends $missing
else
    echo "Papyra needs these Debian packages:$missing"
    echo "Install them with:"
    echo "    sudo apt-get install -y --no-install-recommends$missing"
    exit 1
fi
