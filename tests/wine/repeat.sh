#!/usr/bin/env bash
# Runs the whole Wine suite RUNS times in a row in the built tree BUILD and stops at the
# first run that fails. With --busy, the rest of the test suite runs over and over beside
# it (one test at a time, as `ctest -j2` puts it beside the Wine tests), so that the
# installer and the driver compete for the machine. VORQ_DRIVER_DELAY_MS=N makes the
# driver wait N ms before every step.
#
#   tests/wine/repeat.sh BUILD [RUNS] [--busy]
set -euo pipefail
build=${1:?usage: tests/wine/repeat.sh BUILD [RUNS] [--busy]}
runs=${2:-10}
busy=${3:-}
logs=$build/wine-repeat
rm -rf "$logs"
mkdir -p "$logs"

load=
if [ "$busy" = --busy ]; then
  (
    while :; do
      ctest --test-dir "$build" -E '^wine_' -j1 >>"$logs/beside.log" 2>&1 || true
    done
  ) &
  load=$!
  # The load loop and whatever ctest it has started end with this script.
  trap 'pkill -P "$load" 2>/dev/null; kill "$load" 2>/dev/null; wait 2>/dev/null' EXIT
fi

started=$SECONDS
for ((run = 1; run <= runs; ++run)); do
  t=$SECONDS
  if ctest --test-dir "$build" -R '^wine_' --output-on-failure >"$logs/run-$run.log" 2>&1; then
    echo "run $run of $runs: passed in $((SECONDS - t)) s"
  else
    grep -E 'tests passed|Failed|FAIL' "$logs/run-$run.log" || true
    echo "run $run of $runs: FAILED (log: $logs/run-$run.log)"
    exit 1
  fi
done
echo "$runs of $runs runs of the Wine suite passed in $((SECONDS - started)) s" \
  "(driver delay ${VORQ_DRIVER_DELAY_MS:-0} ms${load:+, with the rest of the suite beside it})"
