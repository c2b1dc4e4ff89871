#!/usr/bin/env bash
# Builds the Debian package as the package workflow does (release build, stripped), then holds it
# to Debian's own checks: lintian with no error and no warning, and the desktop entry it installs
# through desktop-file-validate without a hint. Also what those do not know: the dependencies the
# program needs at run time, and the icon the entry names, at every size of the icon theme.
# Usage: package-lint.sh SOURCE_DIR WORK_DIR
set -uo pipefail
source_dir=$(realpath "$1")
work=$(realpath -m "$2")
for tool in lintian desktop-file-validate dpkg-deb cpack file; do
    command -v "$tool" >/dev/null || { echo "package-lint: skipped: $tool is not installed"; exit 77; }
done

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

build=$work/build
(cd "$source_dir" && cmake --preset package -B "$build" >/dev/null) || { echo "configure failed"; exit 1; }
cmake --build "$build" -j2 >"$work/build.log" 2>&1 || { tail -40 "$work/build.log"; exit 1; }
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
package=$(ls "$build"/*.deb)
echo "package: $package ($(du -k "$package" | cut -f1) KB)"

# Info tags are shown but pass; errors and warnings fail.
lintian --info --display-info --fail-on error,warning "$package" || fail "lintian"

root=$work/root
rm -rf "$root"
dpkg-deb -x "$package" "$root"
entry=$root/usr/share/applications/quorvin.desktop
if ! hints=$(desktop-file-validate "$entry" 2>&1) || [ -n "$hints" ]; then
    fail "desktop-file-validate: $hints"
fi

depends=$(dpkg-deb -f "$package" Depends)
echo "Depends: $depends"
for needed in fonts-liberation2 xdg-utils libqt6gui6; do
    grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed"
done
! grep -q qt6-qpa-plugins <<<"$depends" || fail "Depends names qt6-qpa-plugins"

icon=$(sed -n 's/^Icon=//p' "$entry")
for size in 16 32 48 64 128 256; do
    png=$root/usr/share/icons/hicolor/${size}x$size/apps/$icon.png
    file "$png" | grep -q "PNG image data, $size x $size," || fail "no ${size}x$size icon at $png"
done

[ "$failures" = 0 ] && echo "package-lint: passed"
[ "$failures" = 0 ]
