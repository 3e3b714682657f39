#!/usr/bin/env bash
# The round trips (bench/round_trip), the batch of 50 (bench/bench_batch) and the
# memory on a flooding line (bench/flood) of this tree and of an earlier commit,
# side by side: all built the same way from this tree's benchmark sources against
# each tree's libraries, and run one after the other on the same machine.
#   bench/before_after.sh [earlier commit] [round trips per line] [flood seconds]
# Defaults: b421fc4, 30, 30. The earlier commit is checked out in $BEFORE_TREE
# (default /tmp/vexa-before); each tree builds into its build-bench/.
set -euo pipefail
cd "$(dirname "$0")/.."
before=${1:-b421fc4}
round_trips=${2:-30}
flood_seconds=${3:-30}
before_tree=${BEFORE_TREE:-/tmp/vexa-before}
[ -d "$before_tree" ] || git worktree add --detach "$before_tree" "$before" >/dev/null
git -C "$before_tree" checkout -q --detach "$before"

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Builds a tree's libraries and the benchmarks against them into $work/<name>-*.
build() {
  local tree=$1 name=$2 dir=$1/build-bench libs=()
  cmake -S "$tree" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXA_BUILD_APP=OFF \
    -DVEXA_BUILD_TESTS=OFF "${launcher[@]}" >/dev/null
  cmake --build "$dir" -j 2 --target vexa_batch vexa_link vexa_sim >/dev/null
  for lib in batch link sim phonebook xml protocol; do libs+=("$dir/src/$lib/libvexa_$lib.a"); done
  local flags=(-std=c++20 -O2 -pthread -I"$tree/src" -I"$tree/tests" -Ibench)
  # shellcheck disable=SC2046 # pkg-config gives several words
  g++ "${flags[@]}" -fPIC $(pkg-config --cflags Qt6Core) bench/round_trip/round_trip.cpp \
    "${libs[@]}" $(pkg-config --libs Qt6Core) -o "$work/$name-round-trip"
  # shellcheck disable=SC2046
  g++ "${flags[@]}" -fPIC $(pkg-config --cflags Qt6Core) bench/flood/flood.cpp \
    "${libs[@]}" $(pkg-config --libs Qt6Core) -o "$work/$name-flood"
  g++ "${flags[@]}" bench/bench_batch.cpp "${libs[@]}" -lbenchmark_main -lbenchmark \
    -o "$work/$name-batch"
}

# "measure<TAB>value" lines of two runs as one table.
side_by_side() {
  awk -F'\t' 'NR == FNR { before[$1] = $2; next }
              { printf "%-44s %10s %10s\n", $1, before[$1], $2 }' "$1" "$2"
}

# A Google Benchmark CSV row's counters as "measure<TAB>value" lines.
counters() {
  awk -F',' 'NR == 1 { for (i = 1; i <= NF; i++) { gsub(/"/, "", $i); name[i] = $i } next }
             { for (i = 11; i <= NF; i++) if ($i != "") printf "%s\t%.1f\n", name[i], $i }'
}

build "$before_tree" before
build "$PWD" after
after_name="$(git rev-parse --short HEAD)$(git diff --quiet HEAD || echo '+changes')"
echo "before: $(git -C "$before_tree" rev-parse --short HEAD), after: $after_name"
echo "load at start: $(cut -d' ' -f1-3 /proc/loadavg)"

for name in before after; do "$work/$name-round-trip" "$round_trips" --tsv >"$work/$name.rt"; done
printf '\nRound trips in ms, %s each, medians unless named\n' "$round_trips"
printf '%-44s %10s %10s\n' "" before after
side_by_side "$work/before.rt" "$work/after.rt"

for name in before after; do
  "$work/$name-batch" --benchmark_format=csv 2>/dev/null | counters >"$work/$name.batch"
done
printf '\nBatch of 50 setup commands at 9600 baud, ms\n'
printf '%-44s %10s %10s\n' "" before after
side_by_side "$work/before.batch" "$work/after.batch"

for route in rs232 gsm; do
  option=()
  [ "$route" = gsm ] && option=(--gsm)
  for name in before after; do
    "$work/$name-flood" "$flood_seconds" --tsv "${option[@]}" >"$work/$name.$route.flood"
  done
  printf '\nA far end that floods the line for %s s on the %s route, a data record query pending\n' \
    "$flood_seconds" "$route"
  printf '%-44s %10s %10s\n' "" before after
  side_by_side "$work/before.$route.flood" "$work/after.$route.flood"
done
echo "load at end: $(cut -d' ' -f1-3 /proc/loadavg)"
