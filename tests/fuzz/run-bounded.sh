#!/usr/bin/env bash
# Runs one fuzz target for a bounded time over a copy of its committed corpus, so that the
# run cannot grow the committed one. Any crash, sanitizer report, leak, timeout or failed
# check of the target fails the run. CTest calls this once per target.
#   run-bounded.sh TARGET CORPUS SCRATCH SECONDS
set -euo pipefail
target=${1:?usage: run-bounded.sh TARGET CORPUS SCRATCH SECONDS}
corpus=${2:?} scratch=${3:?} seconds=${4:?}

rm -rf "$scratch"
mkdir -p "$scratch/corpus" "$scratch/artifacts" "$scratch/tmp"
cp "$corpus"/* "$scratch/corpus/"

# The install target writes a few dozen files per input: memory-backed storage keeps that
# from measuring the disk. A target that stops on a finding leaves its scratch folder
# behind; it goes with this run's folder.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  TMPDIR=$(mktemp -d /dev/shm/vorq-fuzz-run.XXXXXX)
  trap 'rm -rf "$TMPDIR"' EXIT
else
  TMPDIR=$scratch/tmp
fi
export TMPDIR
# A small quarantine keeps freed memory warm; use-after-free within an input is still
# caught.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16}

status=0
"$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$scratch/artifacts/" "$scratch/corpus" || status=$?
exit "$status"
