#!/usr/bin/env bash
# Builds and runs the tests under AddressSanitizer with UndefinedBehaviorSanitizer,
# then the lower layer's tests under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=build-asan BUILD_TYPE=Debug bash scripts/build.sh -DVEXA_SANITIZE=address,undefined
ctest --test-dir build-asan --output-on-failure -j "$(( $(nproc) * 4 ))"
BUILD_DIR=build-tsan BUILD_TYPE=Debug bash scripts/build.sh -DVEXA_SANITIZE=thread -DVEXA_BUILD_APP=OFF
ctest --test-dir build-tsan --output-on-failure -j "$(( $(nproc) * 4 ))"
