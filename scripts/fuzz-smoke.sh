#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and gives each a short run.
# RUNS sets the executions per target (default 20000).
set -euo pipefail
cd "$(dirname "$0")/.."
CC=clang CXX=clang++ BUILD_DIR=build-fuzz BUILD_TYPE=Debug bash scripts/build.sh \
  -DVEXA_BUILD_FUZZ=ON -DVEXA_BUILD_APP=OFF -DVEXA_BUILD_TESTS=OFF
for target in build-fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  corpus="fuzz/corpus-$(basename "$target")"
  mkdir -p "$corpus"
  echo "== $(basename "$target")"
  "$target" -runs="${RUNS:-20000}" -max_len=4096 "$corpus" 2>&1 | tail -n 2
done
