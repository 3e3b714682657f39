#!/usr/bin/env bash
# The status round trip and the time added per burst, for this tree and for an
# earlier commit, built the same way and run one after the other.
#   bench/round_trip/run.sh [earlier commit] [round trips per line]
# Defaults: 0815f32, 30. The earlier commit is checked out in $BEFORE_TREE
# (default /tmp/link-before); each tree builds into its build-round-trip/.
set -euo pipefail
cd "$(dirname "$0")/../.."
before=${1:-0815f32}
round_trips=${2:-30}
before_tree=${BEFORE_TREE:-/tmp/link-before}
[ -d "$before_tree" ] || git worktree add --detach "$before_tree" "$before" >/dev/null

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

# Builds a tree's libraries and this benchmark against them; prints the program's path.
build() {
  local tree=$1 dir=$1/build-round-trip libs=()
  cmake -S "$tree" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXA_BUILD_APP=OFF \
    -DVEXA_BUILD_TESTS=OFF "${launcher[@]}" >/dev/null
  cmake --build "$dir" --target vexa_link vexa_sim >/dev/null
  for lib in link sim phonebook xml protocol; do libs+=("$dir/src/$lib/libvexa_$lib.a"); done
  # shellcheck disable=SC2046 # pkg-config gives several words
  g++ -std=c++20 -O2 -fPIC -pthread -I"$tree/src" $(pkg-config --cflags Qt6Core) \
    bench/round_trip/round_trip.cpp "${libs[@]}" $(pkg-config --libs Qt6Core) -o "$dir/round_trip"
  echo "$dir/round_trip"
}

before_program=$(build "$before_tree")
after_program=$(build "$PWD")
echo "== before: $(git -C "$before_tree" rev-parse --short HEAD)"
"$before_program" "$round_trips"
echo "== after: $(git rev-parse --short HEAD)$(git diff --quiet HEAD || echo ' with changes')"
"$after_program" "$round_trips"
