#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the game and its Debian
# package need, if any is missing.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config
          libgtest-dev libgmock-dev googletest libbenchmark-dev
          qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev
          xvfb xauth imagemagick
          dpkg-dev file gzip man-db desktop-file-utils appstream lintian)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
