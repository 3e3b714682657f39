#!/usr/bin/env bash
# Installs the package that package.sh built on this machine, checks that its
# programs run from /usr/bin, removes it again with apt-get purge and checks that
# nothing of it is left under /usr. Needs root or sudo; a vexa-t-setup installed
# before is purged first.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(realpath "${BUILD_DIR:-build}"/vexa-t-setup_*.deb)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
installed() { dpkg-query -W -f='${Status}' vexa-t-setup 2>/dev/null | grep -q "ok installed"; }
installed && $sudo apt-get purge -y -qq vexa-t-setup >/dev/null

before=$(mktemp)
after=$(mktemp)
# A check that fails does not leave the package installed.
trap 'rm -f "$before" "$after"; ! installed || $sudo apt-get purge -y -qq vexa-t-setup >/dev/null' EXIT
find /usr | sort >"$before"

$sudo apt-get install -y -qq --no-install-recommends "$deb" >/dev/null
for program in vexa-t-setup vexa-t logger-sim; do
  [ "$(command -v "$program")" = "/usr/bin/$program" ] || {
    echo "package-round-trip.sh: $program is not run from /usr/bin" >&2
    exit 1
  }
done
/usr/bin/vexa-t-setup --version
/usr/bin/logger-sim --help >/dev/null
/usr/bin/vexa-t --help >/dev/null
desktop-file-validate /usr/share/applications/vexa-t-setup.desktop
appstreamcli validate --no-net /usr/share/metainfo/example.vexa.vexa_t_setup.metainfo.xml >/dev/null

$sudo apt-get purge -y -qq vexa-t-setup >/dev/null
find /usr | sort >"$after"
# New paths that no installed package owns. The menu's and the icon theme's
# caches are rebuilt by their triggers for what is installed, so they may stay,
# but must not name the program any more.
left=$(comm -13 "$before" "$after" | while read -r path; do
  dpkg -S "$path" >/dev/null 2>&1 || echo "$path"
done | grep -v -e '/mimeinfo\.cache$' -e '/icon-theme\.cache$' || true)
caches=$(grep -l vexa-t-setup /usr/share/applications/mimeinfo.cache \
  /usr/share/icons/hicolor/icon-theme.cache 2>/dev/null || true)
if [ -n "$left$caches" ]; then
  echo "package-round-trip.sh: left under /usr after the purge:" >&2
  printf '%s\n' $left $caches >&2
  exit 1
fi
echo "vexa-t-setup installed, ran from /usr/bin and was purged without a trace"
