#!/bin/sh
# Tries the Windows build under Wine, after scripts/build-windows.sh (`./papyra.sh windows`); run by
# hand before a release: `./papyra.sh windows-trial`.
#
# In a fresh Wine prefix (build-windows/wine-trial) on a virtual screen (Xvfb):
#  1. the installer runs silently (/S): program, marker, Start menu entry, uninstaller in place;
#  2. the installed Papyra starts as the user would start it and makes its database from the
#     template in the user's folder (%LOCALAPPDATA%\Papyra\Varnel.mdb); through its window (xdotool)
#     a folder is typed into slot 1 and reaches that database, a search finds it (a screenshot of
#     the results goes to build-windows/screenshot-windows.png), and three labels with QR codes are
#     printed to a PDF, as there is no printer (its first page: build-windows/labels-windows.png);
#  3. the portable folder from the zip keeps its database beside the program;
#  4. the Windows tests of the data and its files pass (run by ctest through Wine, offscreen); the
#     shared index cases among them use a throw-away PostgreSQL server of this machine on
#     127.0.0.1 (a Windows program cannot start the machine's server programs);
#  5. the uninstaller runs silently and leaves the user's data alone.
set -e
cd "$(dirname "$0")/.."
BUILD=${BUILD_WINDOWS:-build-windows}
VERSION=$(sed -n 's/^project(Papyra VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
SETUP=$BUILD/papyra-$VERSION-setup.exe
ZIP=$BUILD/papyra-$VERSION-portable.zip
[ -f "$SETUP" ] && [ -f "$ZIP" ] && [ -x "$BUILD/wine-run.sh" ] || {
    echo "No Windows build: run ./papyra.sh windows first." >&2
    exit 1
}
sh scripts/install-deps.sh wine wine64 xvfb openbox xdotool imagemagick unzip python3 poppler-utils zbar-tools

export WINEPREFIX=$(pwd)/$BUILD/wine-trial
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
fail() {
    echo "FAILED: $*" >&2
    # What the screen showed then, for finding out why.
    [ -z "${display:-}" ] || import -display ":$display" -window root "$BUILD/trial-failed.png" 2>/dev/null &&
        echo "the screen at that moment: $BUILD/trial-failed.png" >&2
    exit 1
}
step() { echo "== $*"; }

# A virtual screen of its own, on the first free display number.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
# A window manager, so that windows are activated and take the keys typed into them.
sleep 2
DISPLAY=:$display openbox >/dev/null 2>&1 &
openbox=$!
papyra=""
pgdir=""
cleanup() {
    [ -n "$papyra" ] && kill "$papyra" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    kill "$openbox" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    if [ -n "$pgdir" ]; then
        as_postgres /usr/lib/postgresql/15/bin/pg_ctl -D "$pgdir/data" -m immediate -w stop >/dev/null 2>&1 || true
        rm -rf "$pgdir"
    fi
}
# PostgreSQL refuses to run as root: under root the test server runs as the postgres user.
as_postgres() {
    if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
trap cleanup EXIT
export DISPLAY=:$display

step "A fresh Wine prefix"
wineboot --init >/dev/null 2>&1 || true
wineserver -w
drive=$WINEPREFIX/drive_c
user=$(ls "$drive/users" | grep -v '^Public$' | head -n 1)
program=$drive/Program\ Files/Papyra
data=$drive/users/$user/AppData/Local/Papyra

step "Silent install: $SETUP /S"
wine "$SETUP" /S
wineserver -w
for file in papyra.exe papyra-installed Varnel.tpl labels.def uninstall.exe platforms/qwindows.dll \
    sqldrivers/qsqlite.dll sqldrivers/qsqlpsql.dll sqlite3.dll libpq.dll libzint.dll Qt6Core.dll Qt6Network.dll; do
    [ -f "$program/$file" ] || fail "not installed: $file"
done
[ -f "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Papyra.lnk" ] || fail "no Start menu entry"
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Papyra' /v DisplayVersion | grep -q "$VERSION" ||
    fail "no uninstall entry"
[ ! -e "$program/Varnel.mdb" ] || fail "a database in the program folder"

step "The installed Papyra starts and makes the user's database"
(cd "$program" && exec wine "C:\\Program Files\\Papyra\\papyra.exe") &
papyra=$!
for _ in $(seq 1 120); do
    [ -f "$data/Varnel.mdb" ] && break
    sleep 1
done
[ -f "$data/Varnel.mdb" ] || fail "no database in the user's folder $data"
# Made from the template: the same slots (Papyra adds its history and search index to it on opening,
# so the file is no longer a byte copy).
same_slots() {
    python3 -c 'import sys, sqlite3
count = lambda path: sqlite3.connect("file:" + path + "?mode=ro", uri=True).execute(
    "SELECT count(*), max(FileNumber) FROM Varnel").fetchone()
sys.exit(count(sys.argv[1]) != count(sys.argv[2]))' "$data/Varnel.mdb" "$program/Varnel.tpl" 2>/dev/null
}
for _ in $(seq 1 30); do
    same_slots && break
    sleep 1
done
same_slots || fail "the database does not hold the template's slots"
[ ! -e "$program/Varnel.mdb" ] || fail "a database in the program folder"
sleep 8 # the window is drawn

step "A folder typed, found, and labels printed to a PDF (no printer here: Papyra offers a PDF)"
rm -f "$drive/labels-trial.pdf"
main=$(xdotool search --sync --name '^Papyra!$' | head -n 1)
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
sleep 1
xdotool key F3
sleep 2
# Slot 1's Keywords cell: the grid's place in the window is fixed (in twips).
xdotool mousemove --window "$main" 248 146 click 1
sleep 1
xdotool type --delay 50 "Car insurance 2026"
xdotool key Return
sleep 1
xdotool key Down # leaving the row writes it
sleep 2
python3 -c 'import sys, sqlite3
row = sqlite3.connect("file:" + sys.argv[1] + "?mode=ro", uri=True).execute(
    "SELECT Keywords FROM Varnel WHERE FileNumber = 1").fetchone()
sys.exit(row != ("Car insurance 2026",))' "$data/Varnel.mdb" || fail "the folder typed is not in the user's database"
xdotool key F1
sleep 2
xdotool type --delay 50 "insurance"
xdotool key Return
sleep 3
import -display ":$display" -window root "$BUILD/screenshot-windows.png"
echo "screenshot of the search results: $BUILD/screenshot-windows.png"
xdotool key ctrl+l
labels=$(xdotool search --sync --name '^Papyra! Labels$' | head -n 1)
sleep 2
xdotool mousemove --window "$labels" 100 60 click 1 # a label type: the list's last
xdotool key End
xdotool mousemove --window "$labels" 472 51 click 1 # Code: QR Code
sleep 1
xdotool key Down Return
xdotool mousemove --window "$labels" 180 202 click 1 # Print a total of 3 labels
xdotool type 3
xdotool mousemove --window "$labels" 360 242 click 1 # Print
sleep 3
xdotool key Return # "No printer is installed. ... save the labels as a PDF file instead?": Yes
sleep 3
xdotool key Home shift+End # the file name in the save dialog (Windows' edit fields know no Ctrl+A)
xdotool type --delay 30 'C:\labels-trial.pdf'
xdotool key Return
for _ in $(seq 1 60); do
    [ -s "$drive/labels-trial.pdf" ] && break
    sleep 1
done
[ -s "$drive/labels-trial.pdf" ] || fail "no labels PDF"
pdftotext "$drive/labels-trial.pdf" - | grep -q "Car insurance 2026" || fail "the labels PDF lacks the folder"
pdftoppm -r 60 -png -singlefile "$drive/labels-trial.pdf" "$BUILD/labels-windows"
# The first label's QR code, read back by a real decoder, holds the folder's number.
pdftoppm -r 300 -png -singlefile "$drive/labels-trial.pdf" "$BUILD/labels-windows-300"
[ "$(zbarimg -q --raw "$BUILD/labels-windows-300.png" 2>/dev/null)" = 1 ] || fail "the label's QR code does not read 1"
echo "labels: $BUILD/labels-windows.png"
kill "$papyra" 2>/dev/null || true
wineserver -k || true
papyra=""

step "The portable folder keeps its database beside the program"
portable=$drive/Portable
rm -rf "$portable"
mkdir -p "$portable"
unzip -q "$ZIP" -d "$portable"
[ ! -e "$portable/Papyra/papyra-installed" ] || fail "the portable folder has the installer's marker"
wine "C:\\Portable\\Papyra\\papyra.exe" &
papyra=$!
for _ in $(seq 1 120); do
    [ -f "$portable/Papyra/Varnel.mdb" ] && break
    sleep 1
done
[ -f "$portable/Papyra/Varnel.mdb" ] || fail "no database beside the portable program"
kill "$papyra" 2>/dev/null || true
wineserver -k || true
papyra=""

step "The Windows tests, through Wine"
pgdir=$(mktemp -d /tmp/papyra-trial-pg-XXXXXX)
[ "$(id -u)" -ne 0 ] || chown postgres "$pgdir"
port=54329
while ss -ltn | grep -q ":$port "; do port=$((port + 1)); done
as_postgres /usr/lib/postgresql/15/bin/initdb -D "$pgdir/data" -A trust -U postgres -E UTF8 --locale=C.UTF-8 \
    --no-sync >/dev/null || fail "initdb for the test server"
as_postgres /usr/lib/postgresql/15/bin/pg_ctl -D "$pgdir/data" -l "$pgdir/log" -w \
    -o "-k $pgdir -p $port -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null || fail "the test server"
export PAPYRA_TEST_PG_PORT=$port
# Each test writes its log to a file (Wine's console does not pass a test's own output on); the
# totals of each and every failure are printed here.
failed=""
logs=$(mktemp -d /tmp/papyra-trial-logs-XXXXXX)
for test in $(sed -n 's/^WINDOWS_TESTS="\(.*\)"/\1/p' scripts/build-windows.sh); do
    QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 TZ=UTC timeout 600 "$BUILD/wine-run.sh" "$BUILD/tests/$test.exe" \
        -o "Z:$(echo "$logs" | tr / '\\')\\$test.txt,txt" >/dev/null 2>&1 || failed="$failed $test"
    printf '%-18s %s\n' "$test" "$(grep -a '^Totals' "$logs/$test.txt" 2>/dev/null || echo 'no log: did not start')"
    grep -a -A3 '^FAIL' "$logs/$test.txt" 2>/dev/null | head -n 40 || true
done
rm -rf "$logs"
[ -z "$failed" ] || fail "Windows tests:$failed"

step "Silent uninstall"
wine "C:\\Program Files\\Papyra\\uninstall.exe" /S
wineserver -w
sleep 3 # the uninstaller finishes from a copy of itself
[ ! -e "$program/papyra.exe" ] || fail "the program is still installed"
[ ! -e "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Papyra.lnk" ] || fail "the Start menu entry is left"
[ -f "$data/Varnel.mdb" ] || fail "the uninstaller removed the user's data"
echo "Windows trial passed."
