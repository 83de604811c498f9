#!/bin/sh
# Fails when a text the program shows is missing from a translation, left unfinished there, or kept
# there although the program no longer shows it: lupdate reads the sources into a copy of each
# translations/papyra_<language>.ts and the copy must hold no unfinished and no vanished entry.
# To bring the files up to date: cmake --build build --target papyra_lupdate, then translate the
# unfinished entries with Qt Linguist (linguist-qt6) or in the XML itself.
set -e
cd "$(dirname "$0")/.."
LUPDATE=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
if [ ! -x "$LUPDATE" ]; then
    echo "check-translations: $LUPDATE is missing (Debian package qt6-l10n-tools)" >&2
    exit 1
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# The program's sources; the build tools in src/tools draw pictures and show nothing to the user.
sources=$(find src -name '*.cpp' -o -name '*.h' | grep -v '^src/tools/' | sort)
status=0
for ts in translations/papyra_*.ts; do
    copy="$tmp/$(basename "$ts")"
    cp "$ts" "$copy"
    # shellcheck disable=SC2086
    "$LUPDATE" -silent -locations none -I src $sources -ts "$copy"
    unfinished=$(grep -c 'type="unfinished"' "$copy" || true)
    vanished=$(grep -c -E 'type="(vanished|obsolete)"' "$copy" || true)
    if [ "$unfinished" -ne 0 ] || [ "$vanished" -ne 0 ]; then
        echo "$ts: $unfinished texts not translated, $vanished no longer used:" >&2
        grep -B2 -E 'type="(unfinished|vanished|obsolete)"' "$copy" | grep '<source>' | sed 's/^ */    /' >&2
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "Translations complete."
exit $status
