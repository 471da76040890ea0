#!/bin/sh
# Builds the Debian package from a build tree and unpacks it into a scratch root the way dpkg
# installs it, without root, then looks for the files where the desktop finds them.
# Usage: PackageTest.sh <build dir> <scratch dir>
set -eu
build=$1
scratch=$2
rm -rf "$scratch"
mkdir -p "$scratch"

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log"
    exit 1
fi
set -- "$scratch"/out/*.deb
[ $# -eq 1 ] && [ -f "$1" ] || { echo "expected one package, found: $*"; exit 1; }
deb=$1

failed=0
fail() { echo "FAIL: $*"; failed=1; }

[ "$(dpkg-deb -f "$deb" Package)" = kelvor ] || fail "package name"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6gui6 fonts-wine fonts-liberation2; do
    echo "$depends" | grep -q "$needed" || fail "Depends lacks $needed: $depends"
done

root=$scratch/root
dpkg -x "$deb" "$root"
[ -x "$root/usr/bin/kelvorw" ] || fail "usr/bin/kelvorw missing or not executable"
desktop=$root/usr/share/applications/kelvor.desktop
if [ -f "$desktop" ]; then
    grep -qx 'Exec=kelvorw' "$desktop" || fail "desktop entry does not run kelvorw"
    grep -qx 'Icon=kelvor' "$desktop" || fail "desktop entry does not name the icon kelvor"
else
    fail "usr/share/applications/kelvor.desktop missing"
fi
for size in 16 32 48 64 128 256; do
    icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/kelvor.png
    if [ -f "$icon" ]; then
        # The PNG signature, then the width in the IHDR chunk.
        [ "$(od -An -tx1 -N8 "$icon" | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$icon is no PNG"
        width=$(od -An -tu1 -j16 -N4 "$icon" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }')
        [ "$width" = "$size" ] || fail "$icon is $width pixels wide"
    else
        fail "$icon missing"
    fi
done
# Nothing outside /usr, nothing but the program's own files.
unexpected=$(cd "$root" && find . -type f ! -path './usr/bin/kelvorw' \
    ! -path './usr/share/applications/kelvor.desktop' \
    ! -path './usr/share/icons/hicolor/*/apps/kelvor.png' ! -path './usr/share/doc/*')
[ -z "$unexpected" ] || fail "unexpected files: $unexpected"
exit $failed
