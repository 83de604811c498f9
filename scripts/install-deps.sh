#!/bin/sh
# Installs the Debian packages Papyra needs to build, test and run, if any are missing.
# As root it uses apt-get; otherwise it prints the command to run with sudo and stops.
set -e

# poppler-utils: the tests read the printed report's PDF pages with pdftotext and pdftoppm.
# clang-format: CI checks that the code follows .clang-format.
# qt6-tools-dev, qt6-l10n-tools: Qt's linguist tools (lupdate, lrelease and their CMake functions) turn
# translations/*.ts into the .qm files the program loads. qt6-translations-l10n: Qt's own texts (file
# dialogs, message box buttons) in the user's language.
# libzip-dev: the zip container of .ods and .xlsx workbooks.
# desktop-file-utils, appstream: `./papyra.sh package` checks the package's desktop entry and
# AppStream metainfo with desktop-file-validate and appstreamcli.
PACKAGES="build-essential cmake qt6-base-dev qt6-qpa-plugins libqt6sql6-sqlite libsqlite3-dev libgl-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libzip-dev fonts-dejavu-core poppler-utils clang-format desktop-file-utils appstream"
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
