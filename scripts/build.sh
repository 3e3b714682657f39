#!/usr/bin/env bash
# Configures and builds into build/ (or $BUILD_DIR) with extra CMake options;
# $TARGETS, when set, names the only targets to build.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
# Rebuilds of several checkouts share one compiler cache where there is one.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "${launcher[@]}" "$@" >/dev/null
targets=()
[ -n "${TARGETS:-}" ] && targets=(--target $TARGETS)
cmake --build "$build_dir" -j "$(nproc)" "${targets[@]}"
