#!/usr/bin/env bash
# The longer fuzz campaign, run by hand: every target for a number of executions (default
# ten million) from its committed corpus, all targets at once at the lowest priority; the
# install target, by far the slowest (it writes a few dozen files per input), in
# INSTALL_JOBS processes (default 2) that share one corpus, for INSTALL_RUNS executions
# (default RUNS). New inputs collect in
# WORK/<target>/corpus (a second run goes on from them), crashes in
# WORK/<target>/artifacts, each process's log in WORK/<target>/<start>-<phase>.log. At the
# end: executions, speed, edges and new inputs per process, executions and findings per
# target over every run kept in WORK, then the source coverage of payload/ and engine/ by
# the final corpora (when llvm-cov is installed). CAMPAIGN_TARGETS limits a run to some
# targets (for example to go on with one that was stopped). libFuzzer's -timeout counts
# wall time: do not stop the processes (SIGSTOP) for a while, or the input in hand is
# reported as a timeout.
#   tests/fuzz/campaign.sh FUZZ_BUILD [WORK] [RUNS]
# FUZZ_BUILD is a configured build of tests/fuzz (as the main build makes in build/fuzz).
set -uo pipefail
build=$(cd "${1:?usage: campaign.sh FUZZ_BUILD [WORK] [RUNS]}" && pwd)
work=$(mkdir -p "${2:-$build/campaign}" && cd "${2:-$build/campaign}" && pwd)
runs=${3:-10000000}
here=$(cd "$(dirname "$0")" && pwd)

cmake --build "$build" || exit 1
# Scratch folders in memory where there is a /dev/shm: the install target writes a few
# dozen files per input and runs about 2.5 times faster on tmpfs than on this machine's
# disk. CAMPAIGN_TMP chooses another place (for example the work folder, if something may
# clear /dev/shm during a run of hours).
if [[ -n ${CAMPAIGN_TMP:-} ]]; then
  TMPDIR=$CAMPAIGN_TMP
elif [[ -d /dev/shm && -w /dev/shm ]]; then
  TMPDIR=/dev/shm/vorq-fuzz-campaign-$$
else
  TMPDIR=$work/tmp
fi
rm -rf "$TMPDIR"
mkdir -p "$TMPDIR"
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
targets=" ${CAMPAIGN_TARGETS:-expand payload_scan install} "
stamp=$(date +%Y%m%d-%H%M%S)
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16}

# fuzz TARGET PHASE SEEDS RUNS [libFuzzer flags...]
fuzz() {
  local target=$1 phase=$2 seeds=$3 count=$4
  shift 4
  local dir=$work/$target
  mkdir -p "$dir/corpus" "$dir/artifacts"
  nice -n 19 "$build/fuzz_$target" -runs="$count" -timeout=20 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$dir/artifacts/" "$@" "$dir/corpus" "$seeds" \
    >"$dir/$stamp-$phase.log" 2>&1
  echo "$target $phase: exit $?"
}

# The decoder's corpus holds one input long enough to rebuild the tree, some 40 times
# slower than the rest; most of its runs go to the short inputs, and a share to all.
short_seeds=$work/expand-short-seeds
mkdir -p "$short_seeds"
find "$here/corpus/expand" -type f -size -4097c -exec cp {} "$short_seeds/" \;

started=$(date +%s)
if [[ $targets == *" install "* ]]; then
  install_jobs=${INSTALL_JOBS:-2}
  install_runs=${INSTALL_RUNS:-$runs}
  for ((job = 1; job <= install_jobs; job++)); do
    fuzz install "main-$job" "$here/corpus/install" $((install_runs / install_jobs)) &
  done
fi
{
  if [[ $targets == *" expand "* ]]; then
    fuzz expand short "$short_seeds" "$runs" -max_len=4096
    fuzz expand long "$here/corpus/expand" $((runs / 20))
  fi
  if [[ $targets == *" payload_scan "* ]]; then
    fuzz payload_scan main "$here/corpus/payload_scan" "$runs"
  fi
} &
wait
echo "campaign time: $(($(date +%s) - started)) s"

# One line per process from libFuzzer's final figures, then the executions per target.
printf '\n%-14s %-7s %12s %9s %7s %9s\n' target phase executions exec/s edges new-units
for log in "$work"/*/*.log; do
  target=$(basename "$(dirname "$log")")
  phase=$(basename "$log" .log | cut -d- -f3-)
  units=$(awk '/stat::number_of_executed_units/ {print $2}' "$log")
  [ -n "$units" ] || units="$(grep -oE '^#[0-9]+' "$log" | tail -1 | tr -d '#')+"
  speed=$(awk '/stat::average_exec_per_sec/ {print $2}' "$log")
  added=$(awk '/stat::new_units_added/ {print $2}' "$log")
  edges=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | awk '{print $2}')
  printf '%-14s %-7s %12s %9s %7s %9s\n' "$target" "$phase" "${units:-?}" "${speed:-?}" \
    "${edges:-?}" "${added:-?}"
done
echo
for target in expand payload_scan install; do
  [ -d "$work/$target" ] || continue
  # A run that did not reach its end (stopped by hand) counts up to its last progress line.
  total=0
  for log in "$work/$target"/*.log; do
    units=$(awk '/stat::number_of_executed_units/ {print $2}' "$log")
    [ -n "$units" ] || units=$(grep -oE '^#[0-9]+' "$log" | tail -1 | tr -d '#')
    total=$((total + ${units:-0}))
  done
  findings=$(find "$work/$target/artifacts" -type f | wc -l)
  echo "$target: $total executions, $findings findings, corpus $(ls "$work/$target/corpus" | wc -l) inputs"
done

if ! command -v llvm-profdata >/dev/null || ! command -v llvm-cov >/dev/null; then
  echo "llvm-cov not installed: no source coverage"
  exit 0
fi
coverage=$work/coverage-build
cmake -S "$here" -B "$coverage" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DVORQ_FUZZ_COVERAGE=ON \
  >/dev/null && cmake --build "$coverage" >/dev/null || exit 1
objects=()
for target in expand payload_scan install; do
  LLVM_PROFILE_FILE=$coverage/$target.profraw "$coverage/fuzz_$target" \
    "$here/corpus/$target" "$work/$target/corpus" >/dev/null 2>&1
  objects+=(-object "$coverage/fuzz_$target")
done
llvm-profdata merge -o "$coverage/all.profdata" "$coverage"/*.profraw
root=$(cd "$here/../.." && pwd)
echo
echo "source coverage of the core by the final corpora:"
llvm-cov report "${objects[@]:1}" -instr-profile="$coverage/all.profdata" \
  "$root/payload" "$root/engine"
