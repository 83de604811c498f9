#!/bin/sh
# Builds Papyra for Windows (x86-64) on Debian 12, with Debian's own tools only; `./papyra.sh windows`.
#
#   sh scripts/build-windows.sh          everything below, then the installer and the portable zip
#   sh scripts/build-windows.sh qt       only the cached libraries and Qt for Windows
#   sh scripts/build-windows.sh libs     only the cached SQLite, zint and libpq
#
# 1. SQLite, zint, libpq and Qt 6.4.2 for Windows, from Debian's source packages of the same
#    versions as the host's libsqlite3-0, libzint-dev, libpq-dev and Qt (Qt with its PostgreSQL
#    driver built against that libpq), cross-compiled with mingw-w64 into a cache folder outside
#    the tree (PAPYRA_WINDOWS_CACHE, by default ~/.cache/papyra-windows). The first run takes long
#    (qtbase is about 1,200 compiler runs: an hour or more on two cores, far longer on a busy
#    machine); an interrupted run goes on where it stopped, and later runs reuse the cache.
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
# The machine is shared: the builds run at a lower priority, as every build on it does (the lowest,
# 19, starves them for hours while other builds run).
NICE="nice -n 10"
TOOLCHAIN=$SOURCE_DIR/packaging/windows/mingw-w64.cmake
TRIPLET=x86_64-w64-mingw32

QT_SOURCE_VERSION=$(dpkg-query -W -f='${source:Version}' libqt6core6 2>/dev/null || true)
SQLITE_SOURCE_VERSION=$(dpkg-query -W -f='${source:Version}' libsqlite3-0 2>/dev/null || true)
ZINT_SOURCE_VERSION=$(dpkg-query -W -f='${source:Version}' libzint-dev 2>/dev/null || true)
PQ_SOURCE_VERSION=$(dpkg-query -W -f='${source:Version}' libpq-dev 2>/dev/null || true)
ZIP_SOURCE_VERSION=$(dpkg-query -W -f='${source:Version}' libzip-dev 2>/dev/null || true)

# Host packages: the host Qt's tools (moc, rcc, uic) build Qt for Windows; tcl makes the SQLite
# amalgamation; libz-mingw-w64-dev is zlib for Windows (libzip needs it); nsis makes the installer;
# wine runs the result.
sh scripts/install-deps.sh mingw-w64 libz-mingw-w64-dev ninja-build tcl dpkg-dev xz-utils imagemagick nsis zip wine wine64
QT_SOURCE_VERSION=${QT_SOURCE_VERSION:-$(dpkg-query -W -f='${source:Version}' libqt6core6)}
SQLITE_SOURCE_VERSION=${SQLITE_SOURCE_VERSION:-$(dpkg-query -W -f='${source:Version}' libsqlite3-0)}
ZINT_SOURCE_VERSION=${ZINT_SOURCE_VERSION:-$(dpkg-query -W -f='${source:Version}' libzint-dev)}
PQ_SOURCE_VERSION=${PQ_SOURCE_VERSION:-$(dpkg-query -W -f='${source:Version}' libpq-dev)}
PQ_SOURCE_PACKAGE=$(dpkg-query -W -f='${source:Package}' libpq-dev)
ZIP_SOURCE_VERSION=${ZIP_SOURCE_VERSION:-$(dpkg-query -W -f='${source:Version}' libzip-dev)}
QT_VERSION=${QT_SOURCE_VERSION%%+*}
SQLITE_VERSION=${SQLITE_SOURCE_VERSION%%-*}

SQLITE_PREFIX=$CACHE/sqlite-$SQLITE_SOURCE_VERSION
ZINT_PREFIX=$CACHE/zint-$ZINT_SOURCE_VERSION
PQ_PREFIX=$CACHE/libpq-$PQ_SOURCE_VERSION
ZIP_PREFIX=$CACHE/libzip-$ZIP_SOURCE_VERSION
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
    # The options of Debian's libsqlite3-0 (debian/rules: its CFLAGS and its configure's --enable-fts4,
    # --enable-fts5), so both platforms' SQLite behave alike: the search index is an FTS5 table.
    options="-DSQLITE_SECURE_DELETE -DSQLITE_ENABLE_COLUMN_METADATA -DSQLITE_ENABLE_FTS3
        -DSQLITE_ENABLE_FTS4 -DSQLITE_ENABLE_FTS5 -DSQLITE_ENABLE_FTS3_PARENTHESIS -DSQLITE_ENABLE_RTREE=1 -DSQLITE_SOUNDEX=1
        -DSQLITE_ENABLE_UNLOCK_NOTIFY -DSQLITE_OMIT_LOOKASIDE=1 -DSQLITE_ENABLE_DBSTAT_VTAB
        -DSQLITE_ALLOW_ROWID_IN_VIEW -DSQLITE_ENABLE_UPDATE_DELETE_LIMIT=1 -DSQLITE_ENABLE_LOAD_EXTENSION
        -DSQLITE_ENABLE_JSON1 -DSQLITE_LIKE_DOESNT_MATCH_BLOBS -DSQLITE_THREADSAFE=1
        -DSQLITE_ENABLE_FTS3_TOKENIZER=1 -DSQLITE_USE_URI=1 -DSQLITE_MAX_SCHEMA_RETRY=25
        -DSQLITE_ENABLE_PREUPDATE_HOOK -DSQLITE_ENABLE_SESSION -DSQLITE_ENABLE_STMTVTAB
        -DSQLITE_MAX_VARIABLE_NUMBER=250000"
    # A cache built with other options is built again.
    [ -f "$SQLITE_PREFIX/bin/sqlite3.dll" ] && [ "$(cat "$SQLITE_PREFIX/.options" 2>/dev/null)" = "$(echo $options)" ] &&
        return 0
    fetch_source sqlite3 "$SQLITE_SOURCE_VERSION"
    unpack_source sqlite3 "$SQLITE_SOURCE_VERSION" "sqlite3-$SQLITE_SOURCE_VERSION"
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
    echo $options >"$SQLITE_PREFIX.tmp/.options"
    rm -rf "$SQLITE_PREFIX"
    mv "$SQLITE_PREFIX.tmp" "$SQLITE_PREFIX"
}

# zint: the library only (no Qt front end, no PNG: Papyra draws the symbols itself from zint's
# vector output), as libzint.dll with its import library.
build_zint() {
    [ -f "$ZINT_PREFIX/bin/libzint.dll" ] && return 0
    fetch_source zint "$ZINT_SOURCE_VERSION"
    unpack_source zint "$ZINT_SOURCE_VERSION" "zint-$ZINT_SOURCE_VERSION"
    work=$CACHE/src/zint-build
    rm -rf "$work"
    $NICE cmake -S "$CACHE/src/zint-$ZINT_SOURCE_VERSION" -B "$work" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
        -DZINT_USE_PNG=OFF -DZINT_USE_QT=OFF -DZINT_STATIC=OFF >/dev/null
    $NICE cmake --build "$work" -j "$JOBS" --target zint
    mkdir -p "$ZINT_PREFIX.tmp/bin" "$ZINT_PREFIX.tmp/lib" "$ZINT_PREFIX.tmp/include"
    cp "$work/backend/libzint.dll" "$ZINT_PREFIX.tmp/bin/"
    cp "$work/backend/libzint.dll.a" "$ZINT_PREFIX.tmp/lib/"
    cp "$CACHE/src/zint-$ZINT_SOURCE_VERSION/backend/zint.h" "$ZINT_PREFIX.tmp/include/"
    rm -rf "$ZINT_PREFIX"
    mv "$ZINT_PREFIX.tmp" "$ZINT_PREFIX"
}

# libpq, PostgreSQL's client library, for the shared index (Papyra's own calls and Qt's QPSQL
# driver): from Debian's postgresql source, only libpq and what it needs (no readline, zlib, ICU or
# OpenSSL: a shared index is reached on the office's own network), as libpq.dll.
build_libpq() {
    [ -f "$PQ_PREFIX/bin/libpq.dll" ] && return 0
    fetch_source "$PQ_SOURCE_PACKAGE" "$PQ_SOURCE_VERSION"
    unpack_source "$PQ_SOURCE_PACKAGE" "$PQ_SOURCE_VERSION" "$PQ_SOURCE_PACKAGE-$PQ_SOURCE_VERSION"
    work=$CACHE/src/libpq-build
    rm -rf "$work" "$PQ_PREFIX.tmp"
    mkdir -p "$work"
    (cd "$work" && $NICE "$CACHE/src/$PQ_SOURCE_PACKAGE-$PQ_SOURCE_VERSION/configure" \
        --host=$TRIPLET --prefix="$PQ_PREFIX.tmp" --without-readline --without-zlib --without-icu \
        --without-openssl --without-gssapi --without-ldap --disable-nls >/dev/null)
    $NICE make -s -C "$work/src/interfaces/libpq" -j"$JOBS"
    make -s -C "$work/src/interfaces/libpq" install
    make -s -C "$work/src/include" install
    rm -rf "$PQ_PREFIX"
    mv "$PQ_PREFIX.tmp" "$PQ_PREFIX"
}

# libzip, for spreadsheet workbooks (.ods, .xlsx are zip files): from Debian's libzip source, the
# library only, with Deflate through Debian's zlib for mingw-w64 (libz-mingw-w64-dev) and no other
# compression or encryption, as libzip.dll.
build_libzip() {
    [ -f "$ZIP_PREFIX/bin/libzip.dll" ] && return 0
    fetch_source libzip "$ZIP_SOURCE_VERSION"
    unpack_source libzip "$ZIP_SOURCE_VERSION" "libzip-$ZIP_SOURCE_VERSION"
    work=$CACHE/src/libzip-build
    rm -rf "$work" "$ZIP_PREFIX.tmp"
    $NICE cmake -S "$CACHE/src/libzip-$ZIP_SOURCE_VERSION" -B "$work" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$ZIP_PREFIX.tmp" -DBUILD_SHARED_LIBS=ON \
        -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF -DENABLE_COMMONCRYPTO=OFF \
        -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_OPENSSL=OFF -DENABLE_WINDOWS_CRYPTO=OFF \
        -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF >/dev/null
    $NICE cmake --build "$work" -j "$JOBS"
    cmake --install "$work" >/dev/null
    rm -rf "$ZIP_PREFIX"
    mv "$ZIP_PREFIX.tmp" "$ZIP_PREFIX"
}

# Qt: qtbase only, with the modules Papyra uses (Core, Gui, Widgets, Sql with SQLite, PrintSupport,
# Test) and the Windows platform plugin. Debian's source lacks the bundled wintab (tablet events
# are off) and the bundled SQLite (the driver uses the sqlite3.dll above).
build_qt() {
    # The marker names what the cache was built with: a cache of an earlier configuration is
    # configured again and built on (ninja rebuilds only what the change touches).
    tag="Qt $QT_SOURCE_VERSION for Windows with Network and QPSQL (libpq $PQ_SOURCE_VERSION), SQLite $SQLITE_SOURCE_VERSION"
    [ "$(cat "$QT_PREFIX/.papyra-complete" 2>/dev/null)" = "$tag" ] && return 0
    fetch_source qt6-base "$QT_SOURCE_VERSION"
    unpack_source qt6-base "$QT_SOURCE_VERSION" "qt6-base-$QT_SOURCE_VERSION"
    work=$CACHE/src/qt6-base-build
    [ -f "$work/build.ninja" ] || rm -rf "$work"
    mkdir -p "$work"
    # A cache built without Qt Network: its private feature header changes only in the network
    # line, which nothing outside the network module reads (Qt's sources test the feature nowhere
    # else), so the header keeps its time and the modules built before are not built again.
    private_config=$work/src/corelib/global/qconfig_p.h
    [ -f "$private_config" ] && cp -p "$private_config" "$work/qconfig_p.h.before"
    # OpenGL stays on (dynamic OpenGL, the default): the 6.4 Windows platform plugin does not
    # compile without it. Network serves the one-Papyra-per-folder lock's local socket and the
    # shared index's server probe; no TLS (libpq has none either; Schannel is off by name, as
    # Qt 6.4 builds its TLS plugin without the ssl feature otherwise).
    $NICE cmake -S "$CACHE/src/qt6-base-$QT_SOURCE_VERSION" -B "$work" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$QT_PREFIX" \
        -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DBUILD_WITH_PCH=OFF \
        -DFEATURE_dbus=OFF -DFEATURE_network=ON -DFEATURE_ssl=OFF -DFEATURE_networklistmanager=OFF \
        -DFEATURE_schannel=OFF -DFEATURE_tuiotouch=OFF -DFEATURE_concurrent=OFF \
        -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF -DFEATURE_tabletevent=OFF -DINPUT_openssl=no \
        -DFEATURE_sql_psql=ON -DFEATURE_sql_odbc=OFF -DFEATURE_sql_mysql=OFF \
        -DFEATURE_sql_ibase=OFF -DFEATURE_sql_oci=OFF -DFEATURE_sql_db2=OFF \
        -DFEATURE_sql_sqlite=ON -DFEATURE_system_sqlite=ON \
        -DSQLite3_INCLUDE_DIR="$SQLITE_PREFIX/include" \
        -DSQLite3_LIBRARY="$SQLITE_PREFIX/lib/libsqlite3.dll.a" \
        -DPostgreSQL_INCLUDE_DIR="$PQ_PREFIX/include" \
        -DPostgreSQL_LIBRARY="$PQ_PREFIX/lib/libpq.a" \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
        -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
    if [ -f "$work/qconfig_p.h.before" ]; then
        if diff "$work/qconfig_p.h.before" "$private_config" | grep '^[<>]' | grep -qv 'QT_FEATURE_network '; then
            : # more has changed: everything that reads the header is built again
        else
            touch -r "$work/qconfig_p.h.before" "$private_config"
        fi
        rm -f "$work/qconfig_p.h.before"
    fi
    $NICE cmake --build "$work" -j "$JOBS"
    rm -rf "$QT_PREFIX"
    cmake --install "$work"
    echo "$tag" >"$QT_PREFIX/.papyra-complete"
}

# Qt's SQLite driver and Papyra share the one sqlite3.dll; Qt's folder holds a copy (it comes first
# on the tests' DLL path), kept the same as SQLite's own when that is built again.
share_sqlite() {
    cmp -s "$SQLITE_PREFIX/bin/sqlite3.dll" "$QT_PREFIX/bin/sqlite3.dll" ||
        cp "$SQLITE_PREFIX/bin/sqlite3.dll" "$QT_PREFIX/bin/"
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
export WINEPATH='$(winpath "$QT_PREFIX/bin");$(winpath "$SQLITE_PREFIX/bin");$(winpath "$ZINT_PREFIX/bin");$(winpath "$PQ_PREFIX/bin");$(winpath "$ZIP_PREFIX/bin");$(winpath "$GCC_DLLS");$(winpath "/usr/$TRIPLET/lib")'
export QT_PLUGIN_PATH='$(winpath "$QT_PREFIX/plugins")'
exec wine "\$@"
RUNNER
    chmod +x "$BUILD/wine-run.sh"
}

build_papyra() {
    mkdir -p "$BUILD"
    write_wine_runner
    cmake -S . -B "$BUILD" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$QT_PREFIX/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$TOOLCHAIN" \
        -DCMAKE_PREFIX_PATH="$QT_PREFIX" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$SOURCE_DIR/$BUILD/wine-run.sh" \
        -DSQLite3_INCLUDE_DIR="$SQLITE_PREFIX/include" \
        -DSQLite3_LIBRARY="$SQLITE_PREFIX/lib/libsqlite3.dll.a" \
        -DZINT_INCLUDE_DIR="$ZINT_PREFIX/include" \
        -DZINT_LIBRARY="$ZINT_PREFIX/lib/libzint.dll.a" \
        -DPostgreSQL_INCLUDE_DIR="$PQ_PREFIX/include" \
        -DPostgreSQL_LIBRARY="$PQ_PREFIX/lib/libpq.a" \
        -DLIBZIP_INCLUDE_DIR="$ZIP_PREFIX/include" \
        -DLIBZIP_LIBRARY="$ZIP_PREFIX/lib/libzip.dll.a"
    # The program, and the tests that run under Wine (scripts/try-windows.sh).
    # shellcheck disable=SC2086
    $NICE cmake --build "$BUILD" -j "$JOBS" --target papyra papyra_data $WINDOWS_TESTS
}

# The DLLs a program or plugin imports, found among Qt's, SQLite's, zint's, libpq's, libzip's and
# the compiler's run-time libraries (and zlib), copied into folder, and theirs in turn. Windows' own
# DLLs are not shipped. Windows matches a DLL's name without regard to case (libpq's own import
# name is LIBPQ.dll), so the search here does too.
copy_imports() { # file folder
    for dll in $($TRIPLET-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
        [ -n "$(find "$2" -maxdepth 1 -iname "$dll")" ] && continue
        for dir in "$QT_PREFIX/bin" "$SQLITE_PREFIX/bin" "$ZINT_PREFIX/bin" "$PQ_PREFIX/bin" "$ZIP_PREFIX/bin" \
            "$GCC_DLLS" "/usr/$TRIPLET/lib"; do
            found=$(find "$dir" -maxdepth 1 -iname "$dll" | head -n 1)
            if [ -n "$found" ]; then
                cp "$found" "$2/"
                copy_imports "$found" "$2"
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
    cp -r "$BUILD/papyra/slideshow" "$BUILD/papyra/translations" "$stage/"
    # Qt's own texts (buttons, file dialogs) for each language Papyra speaks, from the host's Qt of
    # the same version; qt.conf makes the program folder Qt's prefix, so Qt finds them there.
    for qm in "$stage"/translations/papyra_*.qm; do
        [ -f "$qm" ] || continue
        language=${qm##*/papyra_}
        cp "/usr/share/qt6/translations/qtbase_$language" "$stage/translations/"
    done
    printf '[Paths]\r\nPrefix = .\r\nTranslations = translations\r\n' >"$stage/qt.conf"
    $TRIPLET-strip "$stage/papyra.exe"
    for plugin in platforms/qwindows styles/qwindowsvistastyle sqldrivers/qsqlite sqldrivers/qsqlpsql \
        imageformats/qjpeg imageformats/qico imageformats/qgif; do
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
build_zint
build_libpq
build_libzip
[ "${1:-}" = libs ] && exit 0
build_qt
share_sqlite
[ "${1:-}" = qt ] && exit 0

GCC_DLLS=$(dirname "$($TRIPLET-gcc-posix -print-libgcc-file-name)")
VERSION=$(sed -n 's/^project(Papyra VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# The tests of the data and its files: store, search, dates, backup and restore checks, the data
# folder, spreadsheet, labels, and the About box's registry lookup.
WINDOWS_TESTS="tst_store tst_search tst_dates tst_backup tst_restorecheck tst_datafolder tst_startup tst_spreadsheet tst_labels tst_about"
build_papyra
stage_program
package_windows
