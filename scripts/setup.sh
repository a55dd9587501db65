#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the main job need.
# Works as root or through sudo; does nothing when everything is present.
set -euo pipefail

PACKAGES=(
  cmake g++ make pkg-config clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  zlib1g-dev libemf2svg-dev libemf-dev libfreetype-dev libfontconfig-dev
  fonts-liberation fonts-dejavu-core fontconfig
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth poppler-utils xdotool xclip openbox
  mingw-w64 binutils-mingw-w64-x86-64
  desktop-file-utils shared-mime-info xdg-utils libfile-mimeinfo-perl
  cups printer-driver-cups-pdf libcups2-dev qt6-translations-l10n
  dpkg-dev lintian appstream man-db groff-base e2fsprogs
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
