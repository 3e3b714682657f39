#!/usr/bin/env bash
# Start-up time: from process start until the main window is mapped on the
# X server, for the program (with a phone book of 1,000 entries in its
# current directory) and for a minimal Qt dialog, both under Xvfb in the same
# run. Prints each median in milliseconds and their ratio.
#   bench/startup/run.sh [repetitions]        (BUILD_DIR, default build-startup)
set -euo pipefail
cd "$(dirname "$0")/../.."
repetitions=${1:-9}
build_dir=${BUILD_DIR:-build-startup}

cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXA_BUILD_APP=ON \
  -DVEXA_BUILD_BENCH=ON -DVEXA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j 2 --target vexa-t-setup minimal_dialog >/dev/null
program=$(realpath "$build_dir/src/app/vexa-t-setup")
minimal=$(realpath "$build_dir/bench/startup/minimal_dialog")

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

{
  printf '<?xml version="1.0" encoding="ISO-8859-1"?>\r\n<HEALTHCHECK>\r\n'
  for i in $(seq 1 1000); do
    printf '<Records ID="%06d" Phone="+4917010%05d" EnquiryPassword="135791" SetupPassword="246802" />\r\n' "$i" "$i"
  done
  printf '</HEALTHCHECK>\r\n'
} >"$work/addressbook.xml"

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

# Milliseconds from starting the program to its window being mapped.
startup_ms() {  # program window-title
  local start end pid
  start=$(date +%s%N)
  (cd "$work" && exec "$1") >/dev/null 2>&1 &
  pid=$!
  # Polled here rather than with --sync, which only looks twice a second.
  until xdotool search --onlyvisible --name "^$2\$" >/dev/null 2>&1; do sleep 0.005; done
  end=$(date +%s%N)
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo $(((end - start) / 1000000))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

program_times=()
minimal_times=()
for _ in $(seq "$repetitions"); do
  minimal_times+=("$(startup_ms "$minimal" "Minimal dialog")")
  program_times+=("$(startup_ms "$program" "Vexa-T_Setup")")
done
minimal_median=$(printf '%s\n' "${minimal_times[@]}" | median)
program_median=$(printf '%s\n' "${program_times[@]}" | median)
echo "minimal dialog: ${minimal_times[*]} ms, median $minimal_median ms"
echo "Vexa-T_Setup:   ${program_times[*]} ms, median $program_median ms"
awk -v p="$program_median" -v m="$minimal_median" \
  'BEGIN { printf "ratio: %.2f (target: at most 1.50)\n", p / m }'
