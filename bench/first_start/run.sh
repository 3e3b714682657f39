#!/usr/bin/env bash
# Time from the README's run command to the program's first window, on a fresh
# copy of a commit: no build folder and no compiler cache, under Xvfb. The
# packages must be installed already, so the build and the start are measured.
#   bench/first_start/run.sh [commit...]      (default HEAD)
# Each commit is measured with its own scripts/run.sh; prints seconds per commit.
set -euo pipefail
cd "$(dirname "$0")/../.."
commits=("$@")
[ ${#commits[@]} -eq 0 ] && commits=(HEAD)

source bench/start_xvfb.sh

for commit in "${commits[@]}"; do
  copy="$work/$(git rev-parse --short "$commit")"
  mkdir "$copy"
  git archive "$commit" | tar -x -C "$copy"
  start=$(date +%s%N)
  # Its own session, so that the script, the build and the program end together.
  CCACHE_DISABLE=1 setsid bash "$copy/scripts/run.sh" >"$copy.log" 2>&1 &
  pid=$!
  until xdotool search --onlyvisible --name '^Vexa-T_Setup$' >/dev/null 2>&1; do
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "$commit: the run command ended without a window:" >&2
      tail -n 20 "$copy.log" >&2
      exit 1
    fi
    sleep 0.2
  done
  end=$(date +%s%N)
  kill -- -"$pid"
  wait "$pid" 2>/dev/null || true
  awk -v c="$commit" -v t=$(((end - start) / 1000000)) \
    'BEGIN { printf "%s: first window after %.1f s\n", c, t / 1000 }'
  rm -rf "$copy"
done
