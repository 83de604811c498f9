#!/bin/sh
# Builds Papyra for Windows (x86-64) on Debian 12, with Debian's own tools only; `./papyra.sh windows`.
#
#   sh scripts/build-windows.sh          everything below, then the installer and the portable zip
#   sh scripts/build-windows.sh qt       only the cached SQLite and Qt for Windows
#
# 1. SQLite and Qt 6.4.2 for Windows, from Debian's source packages of the same versions as the
#    host's libsqlite3-0 and Qt, cross-compiled with mingw-w64 into a cache folder outside the tree
#    (PAPYRA_WINDOWS_CACHE, by default ~/.cache/papyra-windows). The first run takes long (qtbase
#    is about 1,100 compiler runs: an hour or more on two cores, far longer on a busy machine, as
#    it runs at the lowest priority); an interrupted run goes on where it stopped, and later runs
#    reuse the cache.
#    Qt's SQLite driver and Papyra's own sqlite3 calls share one sqlite3.dll: Papyra registers its
#    functions on the driver's connection handle, which must belong to the same SQLite library.
# 2. Papyra in build-windows/, its program folder build-windows/papyra with the Qt and compiler
#    run-time DLLs beside the program.
# 3. build-windows/papyra-<version>-setup.exe (NSIS) and build-windows/papyra-<version>-portable.zip.
#
# Trying it under Wine: scripts/try-windows.sh.
set -e
cd "$(dirname "$0")/.."
SOURCE_DIR=$(pwd)

CACHE=${PAPYRA_WINDOWS_CACHE:-$HOME/.cache/papyra-windows}
BUILD=${BUILD_WINDOWS:-build-windows}
JOBS=${JOBS:-2}
# The machine is shared: the long builds run at the lowest priority.
NICE="nice -n 19"
TOOLCHAIN=$SOURCE_DIR/packaging/windows/mingw-w64.cmake
TRIPLET=x86_64-w64-mingw32

QT_SOURCE_VERSION=$(dpkg-query -W -f='${source:Version}' libqt6core6 2>/dev/null || true)
SQLITE_SOURCE_VERSION=$(dpkg-query -W -f='${source:Version}' libsqlite3-0 2>/dev/null || true)

# Host packages: the host Qt's tools (moc, rcc, uic) build Qt for Windows; tcl makes the SQLite
# amalgamation; nsis makes the installer; wine runs the result.
sh scripts/install-deps.sh mingw-w64 ninja-build tcl dpkg-dev xz-utils imagemagick nsis zip wine wine64
QT_SOURCE_VERSION=${QT_SOURCE_VERSION:-$(dpkg-query -W -f='${source:Version}' libqt6core6)}
SQLITE_SOURCE_VERSION=${SQLITE_SOURCE_VERSION:-$(dpkg-query -W -f='${source:Version}' libsqlite3-0)}
QT_VERSION=${QT_SOURCE_VERSION%%+*}
SQLITE_VERSION=${SQLITE_SOURCE_VERSION%%-*}

SQLITE_PREFIX=$CACHE/sqlite-$SQLITE_SOURCE_VERSION
QT_PREFIX=$CACHE/qt-$QT_SOURCE_VERSION
mkdir -p "$CACHE/src"

# Debian's source packages, without touching the machine's own apt configuration: a private
# deb-src list and package lists in the cache.
fetch_source() { # package version
    [ -f "$CACHE/src/$1_$2.dsc" ] && return 0
    apt="$CACHE/apt"
    mkdir -p "$apt/lists/partial" "$apt/sources.list.d" "$apt/cache/archives/partial"
    cat >"$apt/sources.list.d/debian-src.sources" <<EOF
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    set -- "$1" "$2" -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt/sources.list.d" \
        -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache" -o APT::Sandbox::User=root
    package=$1
    version=$2
    shift 2
    apt-get "$@" update -qq
    (cd "$CACHE/src" && apt-get "$@" source --download-only "$package=$version")
}

unpack_source() { # package version folder
    [ -d "$CACHE/src/$3" ] && return 0
    (cd "$CACHE/src" && dpkg-source -x "$1_$2.dsc" "$3.tmp" >/dev/null && mv "$3.tmp" "$3")
}

# SQLite: the amalgamation made from Debian's source with Debian's compile-time options, built as
# sqlite3.dll with its import library.
build_sqlite() {
    [ -f "$SQLITE_PREFIX/bin/sqlite3.dll" ] && return 0
    fetch_source sqlite3 "$SQLITE_SOURCE_VERSION"
    unpack_source sqlite3 "$SQLITE_SOURCE_VERSION" "sqlite3-$SQLITE_SOURCE_VERSION"
    # The options of Debian's libsqlite3-0 (debian/rules), so both platforms' SQLite behave alike.
    options="-DSQLITE_SECURE_DELETE -DSQLITE_ENABLE_COLUMN_METADATA -DSQLITE_ENABLE_FTS3
        -DSQLITE_ENABLE_FTS3_PARENTHESIS -DSQLITE_ENABLE_RTREE=1 -DSQLITE_SOUNDEX=1
        -DSQLITE_ENABLE_UNLOCK_NOTIFY -DSQLITE_OMIT_LOOKASIDE=1 -DSQLITE_ENABLE_DBSTAT_VTAB
        -DSQLITE_ALLOW_ROWID_IN_VIEW -DSQLITE_ENABLE_UPDATE_DELETE_LIMIT=1 -DSQLITE_ENABLE_LOAD_EXTENSION
        -DSQLITE_ENABLE_JSON1 -DSQLITE_LIKE_DOESNT_MATCH_BLOBS -DSQLITE_THREADSAFE=1
        -DSQLITE_ENABLE_FTS3_TOKENIZER=1 -DSQLITE_USE_URI=1 -DSQLITE_MAX_SCHEMA_RETRY=25
        -DSQLITE_ENABLE_PREUPDATE_HOOK -DSQLITE_ENABLE_SESSION -DSQLITE_ENABLE_STMTVTAB
        -DSQLITE_MAX_VARIABLE_NUMBER=250000"
    work=$CACHE/src/sqlite3-build
    rm -rf "$work"
    mkdir -p "$work"
    # The amalgamation is generated on this machine (the grammar depends on the options).
    (cd "$work" && CFLAGS="-O2 $(echo $options)" "$CACHE/src/sqlite3-$SQLITE_SOURCE_VERSION/configure" \
        --disable-tcl >/dev/null && $NICE make -j"$JOBS" sqlite3.c >/dev/null)
    mkdir -p "$SQLITE_PREFIX.tmp/bin" "$SQLITE_PREFIX.tmp/lib" "$SQLITE_PREFIX.tmp/include"
    # shellcheck disable=SC2086
    $NICE $TRIPLET-gcc-posix -O2 -fno-strict-aliasing $options -DSQLITE_API='__declspec(dllexport)' \
        -shared "$work/sqlite3.c" -o "$SQLITE_PREFIX.tmp/bin/sqlite3.dll" \
        -Wl,--out-implib,"$SQLITE_PREFIX.tmp/lib/libsqlite3.dll.a" -static-libgcc
    cp "$work/sqlite3.h" "$work/sqlite3ext.h" "$SQLITE_PREFIX.tmp/include/"
    rm -rf "$SQLITE_PREFIX"
    mv "$SQLITE_PREFIX.tmp" "$SQLITE_PREFIX"
}

# Qt: qtbase only, with the modules Papyra uses (Core, Gui, Widgets, Sql with SQLite, PrintSupport,
# Test) and the Windows platform plugin. Debian's source lacks the bundled wintab (tablet events
# are off) and the bundled SQLite (the driver uses the sqlite3.dll above).
build_qt() {
    [ -f "$QT_PREFIX/.papyra-complete" ] && return 0
    fetch_source qt6-base "$QT_SOURCE_VERSION"
    unpack_source qt6-base "$QT_SOURCE_VERSION" "qt6-base-$QT_SOURCE_VERSION"
    work=$CACHE/src/qt6-base-build
    if [ ! -f "$work/build.ninja" ]; then
        rm -rf "$work"
        mkdir -p "$work"
        # OpenGL stays on (dynamic OpenGL, the default): the 6.4 Windows platform plugin does not
        # compile without it.
        $NICE cmake -S "$CACHE/src/qt6-base-$QT_SOURCE_VERSION" -B "$work" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
            -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_INSTALL_PREFIX="$QT_PREFIX" \
            -DQT_HOST_PATH=/usr \
            -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
            -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DBUILD_WITH_PCH=OFF \
            -DFEATURE_dbus=OFF -DFEATURE_network=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
            -DFEATURE_vulkan=OFF -DFEATURE_tabletevent=OFF -DINPUT_openssl=no \
            -DFEATURE_sql_psql=OFF -DFEATURE_sql_odbc=OFF -DFEATURE_sql_mysql=OFF \
            -DFEATURE_sql_ibase=OFF -DFEATURE_sql_oci=OFF -DFEATURE_sql_db2=OFF \
            -DFEATURE_sql_sqlite=ON -DFEATURE_system_sqlite=ON \
            -DSQLite3_INCLUDE_DIR="$SQLITE_PREFIX/include" \
            -DSQLite3_LIBRARY="$SQLITE_PREFIX/lib/libsqlite3.dll.a" \
            -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
            -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
    fi
    $NICE cmake --build "$work" -j "$JOBS"
    rm -rf "$QT_PREFIX"
    cmake --install "$work"
    cp "$SQLITE_PREFIX/bin/sqlite3.dll" "$QT_PREFIX/bin/"
    echo "Qt $QT_SOURCE_VERSION for Windows, SQLite $SQLITE_SOURCE_VERSION" >"$QT_PREFIX/.papyra-complete"
}

# Runs a Windows program of this build under Wine: the tool the build itself runs (the template is
# made by the program's own schema code) and the tests. Its own Wine prefix, in the cache.
winpath() { echo "Z:$1" | sed 's|/|\\|g'; }
write_wine_runner() {
    cat >"$BUILD/wine-run.sh" <<RUNNER
#!/bin/sh
# Made by scripts/build-windows.sh: runs a program of the Windows build under Wine.
export WINEPREFIX="\${WINEPREFIX:-$CACHE/wine}"
export WINEARCH=win64 WINEDEBUG="\${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPATH='$(winpath "$QT_PREFIX/bin");$(winpath "$SQLITE_PREFIX/bin");$(winpath "$GCC_DLLS");$(winpath "/usr/$TRIPLET/lib")'
export QT_PLUGIN_PATH='$(winpath "$QT_PREFIX/plugins")'
exec wine "\$@"
RUNNER
    chmod +x "$BUILD/wine-run.sh"
}

build_papyra() {
    mkdir -p "$BUILD"
    write_wine_runner
    if [ ! -f "$BUILD/build.ninja" ]; then
        cmake -S . -B "$BUILD" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$QT_PREFIX/lib/cmake/Qt6/qt.toolchain.cmake" \
            -DQT_CHAINLOAD_TOOLCHAIN_FILE="$TOOLCHAIN" \
            -DCMAKE_PREFIX_PATH="$QT_PREFIX" \
            -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_CROSSCOMPILING_EMULATOR="$SOURCE_DIR/$BUILD/wine-run.sh" \
            -DSQLite3_INCLUDE_DIR="$SQLITE_PREFIX/include" \
            -DSQLite3_LIBRARY="$SQLITE_PREFIX/lib/libsqlite3.dll.a"
    fi
    # The program, and the tests that run under Wine (scripts/try-windows.sh).
    # shellcheck disable=SC2086
    $NICE cmake --build "$BUILD" -j "$JOBS" --target papyra papyra_data $WINDOWS_TESTS
}

# The DLLs a program or plugin imports, found among Qt's, SQLite's and the compiler's run-time
# libraries, copied into folder, and theirs in turn. Windows' own DLLs are not shipped.
copy_imports() { # file folder
    for dll in $($TRIPLET-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
        [ -f "$2/$dll" ] && continue
        for dir in "$QT_PREFIX/bin" "$SQLITE_PREFIX/bin" "$GCC_DLLS" "/usr/$TRIPLET/lib"; do
            if [ -f "$dir/$dll" ]; then
                cp "$dir/$dll" "$2/"
                copy_imports "$dir/$dll" "$2"
                break
            fi
        done
    done
}

# The program folder as users get it: the program, its read-only files, Qt's plugins beside it
# (where Qt looks first), and every DLL they need.
stage_program() {
    stage=$BUILD/stage/Papyra
    rm -rf "$BUILD/stage"
    mkdir -p "$stage"
    cp "$BUILD/papyra/papyra.exe" "$BUILD/papyra/Varnel.tpl" "$BUILD/papyra/labels.def" "$stage/"
    cp -r "$BUILD/papyra/slideshow" "$stage/"
    $TRIPLET-strip "$stage/papyra.exe"
    for plugin in platforms/qwindows styles/qwindowsvistastyle sqldrivers/qsqlite imageformats/qjpeg \
        imageformats/qico imageformats/qgif; do
        mkdir -p "$stage/${plugin%/*}"
        cp "$QT_PREFIX/plugins/$plugin.dll" "$stage/$plugin.dll"
    done
    for file in "$stage/papyra.exe" "$stage"/*/*.dll; do
        copy_imports "$file" "$stage"
    done
    cp packaging/copyright "$stage/copyright.txt"
}

package_windows() {
    rm -f "$BUILD/papyra-$VERSION-setup.exe" "$BUILD/papyra-$VERSION-portable.zip"
    makensis -V2 -DVERSION="$VERSION" -DSTAGE="$SOURCE_DIR/$BUILD/stage/Papyra" \
        -DICON="$SOURCE_DIR/$BUILD/packaging/windows/papyra.ico" \
        -DOUTFILE="$SOURCE_DIR/$BUILD/papyra-$VERSION-setup.exe" packaging/windows/papyra.nsi
    # The portable zip is the same folder without the installer's marker: the data stays beside the program.
    (cd "$BUILD/stage" && zip -qr9 "../papyra-$VERSION-portable.zip" Papyra)
    ls -l "$BUILD/papyra-$VERSION-setup.exe" "$BUILD/papyra-$VERSION-portable.zip"
}

build_sqlite
build_qt
[ "${1:-}" = qt ] && exit 0

GCC_DLLS=$(dirname "$($TRIPLET-gcc-posix -print-libgcc-file-name)")
VERSION=$(sed -n 's/^project(Papyra VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# The tests of the data and its files: store, search, dates, backup and restore checks, the data
# folder, spreadsheet, labels, and the About box's registry lookup.
WINDOWS_TESTS="tst_store tst_search tst_dates tst_backup tst_restorecheck tst_datafolder tst_startup tst_spreadsheet tst_labels tst_about"
build_papyra
stage_program
package_windows
