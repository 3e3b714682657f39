#!/usr/bin/env bash
# Start-up time: from process start until the main window is mapped on the
# X server, for the program (with a phone book of 1,000 entries in its
# current directory) and for a minimal Qt dialog, both under Xvfb in the same
# run; then the resident memory of each 3 s after its start. Prints medians
# and the program's ratios to the minimal dialog.
#   bench/startup/run.sh [repetitions]        (BUILD_DIR, default build-startup)
# BEFORE=<another build of the program> measures it too, in the same rounds.
set -euo pipefail
cd "$(dirname "$0")/../.."
repetitions=${1:-9}
build_dir=${BUILD_DIR:-build-startup}

cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXA_BUILD_APP=ON \
  -DVEXA_BUILD_BENCH=ON -DVEXA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j 2 --target vexa-t-setup minimal_dialog >/dev/null
program=$(realpath "$build_dir/src/app/vexa-t-setup")
minimal=$(realpath "$build_dir/bench/startup/minimal_dialog")
before=${BEFORE:+$(realpath "$BEFORE")}
source bench/start_xvfb.sh

{
  printf '<?xml version="1.0" encoding="ISO-8859-1"?>\r\n<HEALTHCHECK>\r\n'
  for i in $(seq 1 1000); do
    printf '<Records ID="%06d" Phone="+4917010%05d" EnquiryPassword="135791" SetupPassword="246802" />\r\n' "$i" "$i"
  done
  printf '</HEALTHCHECK>\r\n'
} >"$work/addressbook.xml"

# Milliseconds from starting the program to its window being mapped.
startup_ms() {  # program window-title
  local start end pid
  start=$(date +%s%N)
  (cd "$work" && exec "$1") >/dev/null 2>>"$work/errors.log" &
  pid=$!
  # Polled here rather than with --sync, which only looks twice a second.
  until xdotool search --onlyvisible --name "^$2\$" >/dev/null 2>&1; do
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "$1 ended without showing its window:" >&2
      cat "$work/errors.log" "$work/xvfb.log" >&2
      exit 1
    fi
    sleep 0.005
  done
  end=$(date +%s%N)
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo $(((end - start) / 1000000))
}

# Resident memory in kB 3 s after the program started.
resident_kb() {  # program
  local pid kb
  (cd "$work" && exec "$1") >/dev/null 2>&1 &
  pid=$!
  sleep 3
  kb=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo "$kb"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Each round measures every program once, so that they share the machine's moods.
declare -A times memory
names=(minimal program)
[ -n "$before" ] && names+=(before)
declare -A path=([minimal]=$minimal [program]=$program [before]=$before)
declare -A title=([minimal]="Minimal dialog" [program]="Vexa-T_Setup" [before]="Vexa-T_Setup")
for _ in $(seq "$repetitions"); do
  for name in "${names[@]}"; do
    times[$name]+="$(startup_ms "${path[$name]}" "${title[$name]}") "
  done
done
for _ in $(seq $(((repetitions + 2) / 3))); do
  for name in "${names[@]}"; do memory[$name]+="$(resident_kb "${path[$name]}") "; done
done

declare -A time_median memory_median
for name in "${names[@]}"; do
  time_median[$name]=$(printf '%s\n' ${times[$name]} | median)
  memory_median[$name]=$(printf '%s\n' ${memory[$name]} | median)
  printf '%-8s start-up: %s ms, median %s ms\n' "$name" "${times[$name]}" "${time_median[$name]}"
  printf '%-8s resident after 3 s: %s kB, median %s kB\n' "$name" "${memory[$name]}" \
    "${memory_median[$name]}"
done
for name in "${names[@]:1}"; do
  awk -v n="$name" -v t="${time_median[$name]}" -v tm="${time_median[minimal]}" \
    -v m="${memory_median[$name]}" -v mm="${memory_median[minimal]}" \
    'BEGIN { printf "%-8s start-up x%.2f (goal at most 1.30), memory x%.2f (goal at most 1.25)\n", n, t / tm, m / mm }'
done
