#!/usr/bin/env bash
# Installs the Debian 12 packages that one use of the checkout needs, the missing
# ones only; asks sudo when not run as root.
#   install-deps.sh run       build and start the program
#   install-deps.sh [test]    also the tests, benchmarks, sanitizer and fuzz builds
#   install-deps.sh package   also build the Debian package and check it
set -euo pipefail
use=${1:-test}

# Qt Charts needs the Qt OpenGL development files, which its Debian package
# does not pull in. Every build makes the manual pages (help2man).
run=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl-dev
  help2man
)
test=(
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libpugixml-dev
  clang libclang-rt-14-dev
  xvfb xauth imagemagick xdotool
  fonts-dejavu-core
)
# CPack reads the programs with file(1); lintian, desktop-file-validate and
# appstreamcli check the package.
package=(file lintian desktop-file-utils appstream)

case "$use" in
  run) packages=("${run[@]}") ;;
  test) packages=("${run[@]}" "${test[@]}") ;;
  package) packages=("${run[@]}" "${test[@]}" "${package[@]}") ;;
  *)
    echo "usage: install-deps.sh [run|test|package]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
  echo "Installing ${missing[*]} (sudo asks for your password)" >&2
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
