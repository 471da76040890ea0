#!/bin/sh
# Builds the Debian package from a build tree and unpacks it into a scratch root the way dpkg
# installs it, without root, then looks for the files where the desktop and Debian's tools find
# them, and runs those tools on them: desktop-file-validate, appstreamcli and lintian.
# Usage: PackageTest.sh <build dir> <scratch dir> [lintian|no-lintian]
set -eu
build=$1
scratch=$2
lint=${3:-lintian}
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

# Debian shows the extended description as it stands.
dpkg-deb -f "$deb" Description | awk 'length > 80 { print "FAIL: description line over 80 columns: " $0; bad = 1 }
                                      END { exit bad }' || failed=1

root=$scratch/root
dpkg -x "$deb" "$root"
[ -x "$root/usr/bin/kelvorw" ] || fail "usr/bin/kelvorw missing or not executable"
desktop=$root/usr/share/applications/kelvor.desktop
if [ -f "$desktop" ]; then
    grep -qx 'Exec=kelvorw %f' "$desktop" || fail "desktop entry does not run kelvorw on a file"
    grep -qx 'MimeType=text/csv;text/tab-separated-values;' "$desktop" ||
        fail "desktop entry does not offer to open problem files"
    grep -qx 'Icon=kelvor' "$desktop" || fail "desktop entry does not name the icon kelvor"
    # The class Qt gives the windows on X11 is the application name.
    grep -qx 'StartupWMClass=Kelvor' "$desktop" || fail "desktop entry lacks StartupWMClass=Kelvor"
    # Not even a hint: each would show in a software centre's or a packager's report.
    hints=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate failed"
    [ -z "$hints" ] || fail "desktop-file-validate: $hints"
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
doc=$root/usr/share/doc/kelvor
if [ -f "$doc/copyright" ]; then
    head -n1 "$doc/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' ||
        fail "copyright file is not in the machine-readable format"
    grep -qx 'License: GPL-3.0+' "$doc/copyright" || fail "copyright file does not give GPL-3.0+"
else
    fail "usr/share/doc/kelvor/copyright missing"
fi
version=$(dpkg-deb -f "$deb" Version)
if gzip -t "$doc/changelog.gz" 2>/dev/null; then
    gzip -dc "$doc/changelog.gz" | head -n1 | grep -q "^kelvor ($version) " ||
        fail "changelog does not start with version $version"
else
    fail "usr/share/doc/kelvor/changelog.gz missing or not gzip"
fi
manual=$root/usr/share/man/man1/kelvorw.1.gz
if gzip -t "$manual" 2>/dev/null; then
    gzip -dc "$manual" | grep -q '^\.TH KELVORW 1 ' || fail "kelvorw.1 has no title line"
else
    fail "usr/share/man/man1/kelvorw.1.gz missing or not gzip"
fi
metainfo=$root/usr/share/metainfo/com.example.kelvor.metainfo.xml
if [ -f "$metainfo" ]; then
    grep -q '<launchable type="desktop-id">kelvor.desktop</launchable>' "$metainfo" ||
        fail "metainfo does not launch kelvor.desktop"
    # The installed tree as a software centre's catalogue builder reads it: the metadata, its
    # desktop entry and icons together. Offline: the addresses it names are not fetched.
    appstreamcli validate-tree --pedantic --no-net "$root" || fail "appstreamcli validate-tree"
else
    fail "usr/share/metainfo/com.example.kelvor.metainfo.xml missing"
fi

# Debian's own checks of the package: no error and no warning; the info tags it prints are
# listed for the reader.
if [ "$lint" = lintian ]; then
    if ! lintian --fail-on error,warning --display-info "$deb" >"$scratch/lintian.log" 2>&1; then
        fail "lintian"
    fi
    grep -v 'root privileges' "$scratch/lintian.log" || true
fi

# Nothing outside /usr, nothing but the program's own files.
unexpected=$(cd "$root" && find . -type f ! -path './usr/bin/kelvorw' \
    ! -path './usr/share/applications/kelvor.desktop' \
    ! -path './usr/share/icons/hicolor/*/apps/kelvor.png' \
    ! -path './usr/share/metainfo/com.example.kelvor.metainfo.xml' \
    ! -path './usr/share/man/man1/kelvorw.1.gz' \
    ! -path './usr/share/doc/kelvor/copyright' ! -path './usr/share/doc/kelvor/changelog.gz')
[ -z "$unexpected" ] || fail "unexpected files: $unexpected"
exit $failed
