#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program in the demo folder,
# whose phone book lists the loggers of the built-in simulator.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
mkdir -p demo/run
# The engineer's own changes to the demo phone book are kept between runs.
[ -f demo/run/addressbook.xml ] || cp demo/addressbook.xml demo/run/addressbook.xml
cd demo/run
exec ../../build/src/app/vexa-t-setup
