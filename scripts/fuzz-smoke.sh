#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and gives each a short run.
# RUNS sets the executions per target (default 20000).
set -euo pipefail
cd "$(dirname "$0")/.."
CC=clang CXX=clang++ BUILD_DIR=build-fuzz BUILD_TYPE=Debug bash scripts/build.sh \
  -DVEXA_BUILD_FUZZ=ON -DVEXA_BUILD_APP=OFF -DVEXA_BUILD_TESTS=OFF
for target in build-fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="fuzz/corpus-$name"
  mkdir -p "$corpus"
  # A target's dictionary and committed seeds, where it has them.
  extra=()
  [ -f "fuzz/$name.dict" ] && extra+=("-dict=fuzz/$name.dict")
  [ -d "fuzz/seeds/$name" ] && extra+=("fuzz/seeds/$name")
  echo "== $name"
  "$target" -runs="${RUNS:-20000}" -max_len=4096 "$corpus" "${extra[@]}" 2>&1 | tail -n 2
done
