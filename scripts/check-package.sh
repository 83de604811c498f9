#!/bin/sh
# Checks the desktop entry and AppStream metainfo inside a built package, as a software centre
# would read them: desktop-file-validate and appstreamcli (offline: the screenshot address is not
# fetched). Also runs lintian when it is installed (it is not needed for CI).
#   sh scripts/check-package.sh build/papyra_3.4.0_amd64.deb
set -e
deb=$1
[ -f "$deb" ] || { echo "no package file: $deb" >&2; exit 2; }
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
dpkg-deb -f "$deb" Package Version Depends
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
if command -v lintian >/dev/null 2>&1; then
    lintian --fail-on error "$deb"
fi
echo "package checked: $deb"
