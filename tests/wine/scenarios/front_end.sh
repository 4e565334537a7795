# The wizard's other front-end operations: status line, bar width, wiping the per-file
# bar, the wait cursor and the error box.
run_windows "$VORQ_WIN_DIR/programs/front_end_check.exe" || fail "front_end_check"
