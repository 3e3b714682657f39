#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test the tool.
# Only missing packages are installed; run as root or with sudo available.
set -euo pipefail

# Qt Charts needs the Qt OpenGL development files, which its Debian package
# does not pull in.
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libpugixml-dev
  clang libclang-rt-14-dev
  xvfb xauth imagemagick xdotool
  fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
