#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
# Extra package names given as arguments are added (CI adds its checkers).
set -euo pipefail
pkgs=(cmake ninja-build g++ make pkg-config qt6-base-dev libqt6sql6-sqlite libqt6sql6-odbc
      libsqlite3-dev libxlsxwriter-dev fonts-dejavu-core lld unixodbc odbc-mariadb mariadb-server "$@")
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "Installing: ${missing[*]}"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
