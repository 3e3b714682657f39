#!/usr/bin/env bash
# Starts the program as the user who runs this script, in the demo folder, whose
# phone book lists the loggers of the built-in simulator. Installs the missing
# packages first (through sudo, for that alone) and builds only the program, in
# build-run/, so that the first start on a fresh machine is quick.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -eq 0 ] && [ -n "${SUDO_USER:-}" ]; then
  echo "run.sh: start it as yourself, without sudo: the window does not run as root," >&2
  echo "and the script asks for sudo itself when packages are missing." >&2
  exit 1
fi
bash scripts/install-deps.sh run
BUILD_DIR=build-run BUILD_TYPE=Release TARGETS=vexa-t-setup bash scripts/build.sh \
  -DVEXA_BUILD_TESTS=OFF
mkdir -p demo/run
# The engineer's own changes to the demo phone book are kept between runs.
[ -f demo/run/addressbook.xml ] || cp demo/addressbook.xml demo/run/addressbook.xml
cd demo/run
exec ../../build-run/src/app/vexa-t-setup
