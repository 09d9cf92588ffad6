#!/usr/bin/env bash
# Installs the Debian packages Orvo needs to build, test and run; does nothing when all are present.
set -euo pipefail
pkgs=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6gui6 qt6-image-formats-plugins qt6-svg-dev libqt6svg6
  qt6-translations-l10n
  zlib1g-dev libjpeg62-turbo-dev
  libisal-dev pigz
  libxcb1-dev libx11-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  shared-mime-info xdg-utils tzdata
  xvfb xauth
  clang libclang-rt-14-dev imagemagick libvips-tools
  fonts-wqy-microhei adwaita-icon-theme
)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
