# Run by bench/wine/install_time.sh through the Wine harness: the floor's parts from the
# bench program, then timed GUI installs. Lines starting with "bench" are the results.
. "$VORQ_SOURCE_DIR/tests/wine/journey_lib.sh"
# The installer to time (the bench program and the driver come from VORQ_WIN_DIR).
[ -n "${BENCH_INSTALLER_DIR:-}" ] && use_installer "$BENCH_INSTALLER_DIR"

runs=${BENCH_RUNS:-5}
figures=$(run_windows "$VORQ_WIN_DIR/programs/install_timing_bench.exe" "$setup_exe" \
  'c:\bench' "$runs") || fail "the bench program failed"
floor_bare=$(echo "$figures" | tr -d '\r' | sed -n 's/^floor (waits + decoding, no window): \([0-9.]*\) ms/\1/p')
floor_drawn=$(echo "$figures" | tr -d '\r' | sed -n 's/^floor (waits + decoding with the bar): \([0-9.]*\) ms/\1/p')

# One install from the press of Install to the finish page; prints the milliseconds.
timed_install() {
  local folder=$1 group=$2 out
  out=$(drive <<STEPS
$(steps_quick_to_options "$folder")
$([ "$group" = 1 ] || printf 'click 158\nchecked 158 0\n')
stopwatch
click 1
wait-shown 180 1
$(steps_finish)
STEPS
  ) || fail "a timed install did not complete"
  echo "$out" | tr -d '\r' | sed -n 's/^  after \([0-9.]*\) ms$/\1/p'
}

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

times=()
for ((run = 1; run <= runs; ++run)); do
  t=$(timed_install "c:\\vorq$run" 0)
  check_installed_files "$(unix_of "c:\\vorq$run")"
  echo "bench: install $run without the group: $t ms"
  times+=("$t")
done
with_group=$(timed_install 'c:\vorqgroup' 1)
echo "bench: install with the program group: $with_group ms"
gui=$(printf '%s\n' "${times[@]}" | median)
echo "$figures" | tr -d '\r' | sed 's/^/bench: /'
echo "bench: GUI install, median of $runs: $gui ms"
awk -v g="$gui" -v a="$floor_bare" -v b="$floor_drawn" 'BEGIN {
  printf "bench: GUI / floor (decoding, no window): %.2f\n", g / a
  printf "bench: GUI / floor (decoding with the bar): %.2f\n", g / b }'
