#!/usr/bin/env bash
# Installs what the project builds and tests with, from Debian's packages. Usage: scripts/setup.sh
set -euo pipefail
case "${1:-}" in -h|--help) sed -n '2,/^set -/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;; esac
# librsvg2-bin turns the impact diagrams and dispersion pictures into PNG; their text is set in fonts-dejavu-core.
# gdal-bin's ogrinfo reads the replay file with its LIBKML driver.
pkgs=(build-essential cmake ninja-build pkg-config libgtest-dev libgmock-dev libpugixml-dev
      qt6-base-dev qt6-base-dev-tools libgl-dev xvfb xauth librsvg2-bin fonts-dejavu-core
      clang-14 libclang-rt-14-dev llvm-14 clang-format-14 locales g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 gdal-bin)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# A German locale (decimal comma) lets the tests prove that every number in our files ignores the user's locale.
if ! locale -a 2>/dev/null | grep -qiE '^de_DE\.utf-?8$'; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
