#!/usr/bin/env bash
# Builds the Debian package in build/ (or $BUILD_DIR), reusing what is built
# there, and checks it: the menu entry and the AppStream metadata as installed,
# then lintian. Prints the path of the .deb.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
bash scripts/install-deps.sh package
bash scripts/build.sh
rm -f "$build_dir"/vexa-t-setup_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
deb=$(realpath "$build_dir"/vexa-t-setup_*.deb)

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"
desktop-file-validate "$tree"/usr/share/applications/*.desktop
# Offline: the screenshots' addresses are checked once they are published.
appstreamcli validate-tree --no-net "$tree" >/dev/null
lintian --fail-on error,warning "$deb"
echo "$deb"
