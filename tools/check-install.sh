#!/usr/bin/env bash
# Installs a build into a temporary folder and checks the tree a desktop
# needs (the program folder complete, the desktop entry valid, the icon in
# every size), then makes the Debian package and checks what it holds and
# what it depends on. Needs desktop-file-utils, dpkg-dev and file.
#
#   tools/check-install.sh [build-folder]
set -euo pipefail
build=${1:-build}
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail() {
  echo "check-install: $*" >&2
  exit 1
}
cache() { cmake -L -N "$build" 2>/dev/null | sed -n "s/^$1:[A-Z]*=//p"; }

prefix=$(cache CMAKE_INSTALL_PREFIX)
share=$(cache ORV_SHARE_DIR)
[ -n "$prefix" ] && [ -n "$share" ] || fail "$build is not a configured build folder"
sample="Velmont Cafe & Resto.cdb"
folder=(orvanta Empty.tdb "$sample" Indonesia.ldb Indonesia.txt Indonesia.gif English.ldb English.txt English.gif)
sizes=(16 22 24 32 48 64 128 256)

echo "== install into $stage"
DESTDIR="$stage" cmake --install "$build" >/dev/null
dir="$stage$prefix"
for f in "${folder[@]}"; do
  [ -f "$dir/$f" ] || fail "the program folder lacks $prefix/$f"
done
[ -x "$dir/orvanta" ] || fail "$prefix/orvanta is not executable"
entry="$stage$share/applications/orvanta.desktop"
[ -f "$entry" ] || fail "no desktop entry at $share/applications/orvanta.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate refuses the entry"
grep -qx "Exec=$prefix/orvanta" "$entry" || fail "the entry does not start $prefix/orvanta"
grep -qx "Icon=orvanta" "$entry" || fail "the entry names another icon"
grep -qx "Categories=Office;Finance;" "$entry" || fail "the entry is not under Office/Finance"
for size in "${sizes[@]}"; do
  icon="$stage$share/icons/hicolor/${size}x${size}/apps/orvanta.png"
  file -b "$icon" | grep -q "^PNG image data, $size x $size, 8-bit/color RGBA" ||
    fail "no ${size} x ${size} icon with transparency at $icon"
done
# Nothing lands outside the program folder and the desktop's share folders.
stray=$(find "$stage" -type f ! -path "$dir/*" ! -path "$stage$share/applications/*" ! -path "$stage$share/icons/*")
[ -z "$stray" ] || fail "installed outside the program folder: $stray"
# The installed executable finds its libraries, and without a desktop says so.
set +e
said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$dir/orvanta" 2>&1)
rc=$?
set -e
[ $rc -ne 0 ] && [[ "$said" == *"sesi desktop"* ]] || fail "the installed program without a display: status $rc, $said"
echo "install tree: ok"

echo "== package"
rm -f "$build"/orvanta_*.deb
cmake --build "$build" --target package >/dev/null
debs=("$build"/orvanta_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "the package target made no single orvanta_*.deb"
deb=${debs[0]}
dpkg-deb -I "$deb"
dpkg-deb -c "$deb"
depends=$(dpkg-deb -f "$deb" Depends)
recommends=$(dpkg-deb -f "$deb" Recommends)
for p in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6sql6 libqt6sql6-sqlite libxlsxwriter \
  fonts-dejavu-core adduser; do
  [[ ", $depends" == *", $p"* ]] || fail "the package does not depend on $p: $depends"
done
for p in libqt6sql6-odbc unixodbc odbc-mariadb; do
  [[ ", $recommends" == *", $p"* ]] || fail "the package does not recommend $p: $recommends"
done
contents=$(dpkg-deb -c "$deb" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }')
for f in "${folder[@]}"; do
  [ "$f" = "$sample" ] && continue
  grep -qxF ".$prefix/$f" <<<"$contents" || fail "the package lacks $prefix/$f"
done
# The sample beside the folder, copied in by the package's own script: a
# database held by the package would be replaced by an upgrade.
grep -qxF ".$prefix/sample/$sample" <<<"$contents" || fail "the package lacks the sample database"
! grep -qxF ".$prefix/$sample" <<<"$contents" || fail "the package owns the sample database in the program folder"
! grep -E "^\.$prefix/[^/]+\.cdb$" <<<"$contents" || fail "the package owns a database in the program folder"
grep -qxF ".$share/applications/orvanta.desktop" <<<"$contents" || fail "the package lacks the desktop entry"
for size in "${sizes[@]}"; do
  grep -qxF ".$share/icons/hicolor/${size}x${size}/apps/orvanta.png" <<<"$contents" ||
    fail "the package lacks the ${size} x ${size} icon"
done
dpkg-deb -I "$deb" postinst | grep -q "addgroup --system" || fail "the package makes no group for the operators"
echo "package $deb: ok"
