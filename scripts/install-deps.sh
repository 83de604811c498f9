#!/bin/sh
# Installs the Debian packages Papyra needs to build, test and run, if any are missing.
# As root it uses apt-get; otherwise it prints the command to run with sudo and stops.
set -e

# poppler-utils: the tests read the printed report's PDF pages with pdftotext and pdftoppm.
# libzint-dev: zint draws the QR Code, Data Matrix and Code 128 symbols on labels.
# zbar-tools, dmtx-utils: the label tests read the printed codes back with zbarimg and dmtxread.
# clang-format: CI checks that the code follows .clang-format.
# qt6-tools-dev, qt6-l10n-tools: Qt's linguist tools (lupdate, lrelease and their CMake functions) turn
# translations/*.ts into the .qm files the program loads. qt6-translations-l10n: Qt's own texts (file
# dialogs, message box buttons) in the user's language.
# libzip-dev: the zip container of .ods and .xlsx workbooks.
# desktop-file-utils, appstream: `./papyra.sh package` checks the package's desktop entry and
# AppStream metainfo with desktop-file-validate and appstreamcli.
# libqt6sql6-psql, libpq-dev: the shared index on a PostgreSQL server (Qt's QPSQL driver; libpq to
# ask whether its connection is alive). postgresql-15: the tests start a throw-away server of their own.
# sqlite3: the benchmark's CSV figures are set against SQLite's own command-line tool, and CI runs
# that path once (papyra-bench --check).
# locales: `./papyra.sh test` also runs each test executable directly under a German and a British
# locale, generated below.
PACKAGES="build-essential cmake qt6-base-dev qt6-qpa-plugins libqt6sql6-sqlite libsqlite3-dev libzint-dev libgl-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libzip-dev fonts-dejavu-core poppler-utils zbar-tools dmtx-utils clang-format desktop-file-utils appstream sqlite3 locales libqt6sql6-psql libpq-dev postgresql-15"
# Packages named on the command line are wanted too (papyra.sh fuzz asks for clang and its sanitizer runtimes).
PACKAGES="$PACKAGES $*"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
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
fi

# The locales of the direct test runs; a fresh Debian has only C and C.UTF-8. Qt takes a locale's
# date form from LANG even when the locale is not generated, but the system's error texts follow it
# only when it is, so without them a test that depends on those would pass unnoticed.
LOCALES="de_DE en_GB"
ungenerated=""
for l in $LOCALES; do
    locale -a 2>/dev/null | grep -qx "$l.utf8" || ungenerated="$ungenerated $l"
done
[ -z "$ungenerated" ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
    for l in $ungenerated; do
        if grep -q "^# *$l.UTF-8 UTF-8" /etc/locale.gen 2>/dev/null; then
            sed -i "s/^# *\($l.UTF-8 UTF-8\)/\1/" /etc/locale.gen
        elif ! grep -q "^$l.UTF-8 UTF-8" /etc/locale.gen 2>/dev/null; then
            echo "$l.UTF-8 UTF-8" >>/etc/locale.gen
        fi
    done
    locale-gen
else
    echo "The test runs under other locales want these generated:$ungenerated (UTF-8)."
    echo "Generate them with: sudo dpkg-reconfigure locales"
fi
