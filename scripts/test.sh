#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test
bash scripts/build.sh
# Most tests wait on the line's timers, not the processor: run more than the cores.
ctest --test-dir build --output-on-failure -j "$(( $(nproc) * 4 ))"
