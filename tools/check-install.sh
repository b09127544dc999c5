#!/usr/bin/env bash
# Installs a build under a temporary prefix and checks that it wrote there
# only, that the tree is what a desktop needs (the program folder complete,
# the desktop entry valid, the icon in every size) and that the databases
# are the generator's own, whatever was tried in the build's program folder;
# then makes the Debian package and checks what it holds, what it depends
# on, and that lintian finds nothing in it.
#
#   tools/check-install.sh [build-folder]
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/install-deps.sh" desktop-file-utils dpkg-dev file lintian sqlite3

# The build as the sources stand: the install takes what was built.
cmake --build "$build" >/dev/null
stage=$(mktemp -d)
dist_sample=""
restore() {
  # The build's own sample database, as it was before the check changed it.
  if [ -n "$dist_sample" ] && [ -f "$stage/dist-sample" ]; then
    cp -p "$stage/dist-sample" "$dist_sample"
  fi
  rm -rf "$stage"
}
trap restore EXIT
fail() {
  echo "check-install: $*" >&2
  exit 1
}
cache() { cmake -L -N "$build" 2>/dev/null | sed -n "s/^$1:[A-Z]*=//p"; }

program_dir=$(cache ORV_PROGRAM_DIR)
share=$(cache ORV_SHARE_DIR)
[ -n "$program_dir" ] && [ -n "$share" ] || fail "$build is not a configured build folder"
sample="Velmont Cafe & Resto.cdb"
made="$build/data/made"
folder=(orvanta Empty.tdb "$sample" Indonesia.ldb Indonesia.txt Indonesia.gif English.ldb English.txt English.gif)
sizes=(16 22 24 32 48 64 128 256)
package_dir=/opt/orvanta
marker=tried_under_make_run

# What `make run` leaves in the build's program folder: a change that neither
# the install nor the package may carry.
dist_sample="$build/dist/$sample"
[ -f "$dist_sample" ] && [ -f "$made/$sample" ] && [ -f "$made/Empty.tdb" ] ||
  fail "$build holds no built databases: build it first"
cp -p "$dist_sample" "$stage/dist-sample"
sqlite3 "$dist_sample" "create table $marker(x); insert into $marker values ('Meja 07');"
# Holds the generator's own file, and not the one changed above.
pristine() {
  local what=$1 file=$2 name=$3
  cmp -s "$file" "$made/$name" || fail "$what is not the generator's $name"
  [ "$(sqlite3 "$file" "select count(*) from sqlite_master where name = '$marker'")" = 0 ] ||
    fail "$what holds what was tried in $build/dist"
}

echo "== install into a prefix"
# Every file the install writes is in its own list, without the staging
# folder: run as root (CI), a write outside the prefix would succeed, and is
# seen there; the staging folder keeps it off this machine.
prefix="$stage/prefix"
root="$stage/root"
rm -f "$build/install_manifest.txt"
DESTDIR="$root" cmake --install "$build" --prefix "$prefix" >/dev/null
outside=$(grep -v "^$prefix/" "$build/install_manifest.txt" || true)
[ -z "$outside" ] || fail "installed outside the prefix $prefix: $outside"
stray=$(find "$root" -type f ! -path "$root$prefix/$program_dir/*" ! -path "$root$prefix/$share/applications/*" \
  ! -path "$root$prefix/$share/icons/*")
[ -z "$stray" ] || fail "installed outside the program folder and the desktop's share folders: $stray"
# The tree as it would lie under the prefix.
mkdir -p "$(dirname "$prefix")"
mv "$root$prefix" "$prefix"
dir="$prefix/$program_dir"
for f in "${folder[@]}"; do
  [ -f "$dir/$f" ] || fail "the program folder lacks $program_dir/$f"
done
[ -x "$dir/orvanta" ] || fail "$program_dir/orvanta is not executable"
pristine "the installed sample database" "$dir/$sample" "$sample"
pristine "the installed template" "$dir/Empty.tdb" Empty.tdb
entry="$prefix/$share/applications/orvanta.desktop"
[ -f "$entry" ] || fail "no desktop entry at $share/applications/orvanta.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate refuses the entry"
grep -qx "Exec=$dir/orvanta" "$entry" || fail "the entry does not start $dir/orvanta"
grep -qx "Icon=orvanta" "$entry" || fail "the entry names another icon"
grep -qx "Categories=Office;Finance;" "$entry" || fail "the entry is not under Office/Finance"
grep -q "^Comment=[A-Za-z]" "$entry" && grep -q "^Comment\[id\]=" "$entry" ||
  fail "the entry's comment is not in English with the Indonesian beside it"
for size in "${sizes[@]}"; do
  icon="$prefix/$share/icons/hicolor/${size}x${size}/apps/orvanta.png"
  file -b "$icon" | grep -q "^PNG image data, $size x $size, 8-bit/color RGBA" ||
    fail "no ${size} x ${size} icon with transparency at $icon"
done
# The installed executable finds its libraries, and without a desktop says so.
set +e
said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$dir/orvanta" 2>&1)
rc=$?
set -e
[ $rc -ne 0 ] && [[ "$said" == "Orvanta needs a desktop session"*"sesi desktop"* ]] ||
  fail "the installed program without a display: status $rc, $said"
echo "install tree: ok"

echo "== package"
rm -f "$build"/orvanta_*.deb
cmake --build "$build" --target package >/dev/null
debs=("$build"/orvanta_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "the package target made no single orvanta_*.deb"
deb=${debs[0]}
# Made while the build's program folder held the change.
[ "$(sqlite3 "$dist_sample" "select count(*) from $marker")" = 1 ] || fail "$dist_sample lost the change"
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
  grep -qxF ".$package_dir/$f" <<<"$contents" || fail "the package lacks $package_dir/$f"
done
# The sample beside the folder, copied in by the package's own script: a
# database held by the package would be replaced by an upgrade.
grep -qxF ".$package_dir/sample/$sample" <<<"$contents" || fail "the package lacks the sample database"
! grep -qxF ".$package_dir/$sample" <<<"$contents" || fail "the package owns the sample database in the program folder"
! grep -E "^\.$package_dir/[^/]+\.cdb$" <<<"$contents" || fail "the package owns a database in the program folder"
grep -qxF "./usr/share/applications/orvanta.desktop" <<<"$contents" || fail "the package lacks the desktop entry"
for size in "${sizes[@]}"; do
  grep -qxF "./usr/share/icons/hicolor/${size}x${size}/apps/orvanta.png" <<<"$contents" ||
    fail "the package lacks the ${size} x ${size} icon"
done
outside=$(grep -v -e "^\./$" -e "^\.$package_dir/" -e "^\./usr/share/" <<<"$contents" |
  grep -v -x -e "\./opt/" -e "\./usr/" || true)
[ -z "$outside" ] || fail "the package holds files outside $package_dir and /usr/share: $outside"
unpacked="$stage/unpacked"
dpkg-deb -x "$deb" "$unpacked"
pristine "the package's sample database" "$unpacked$package_dir/sample/$sample" "$sample"
pristine "the package's template" "$unpacked$package_dir/Empty.tdb" Empty.tdb
grep -qx "Exec=$package_dir/orvanta" "$unpacked/usr/share/applications/orvanta.desktop" ||
  fail "the package's entry does not start $package_dir/orvanta"
dpkg-deb -I "$deb" postinst | grep -q "addgroup --system" || fail "the package makes no group for the operators"
echo "== lintian"
lintian --fail-on error,warning --display-info "$deb" || fail "lintian finds errors or warnings in $deb"
echo "package $deb: ok"
