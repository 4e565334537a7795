# The DDE client against no instance, a service nobody serves and a stand-in server
# that refuses chosen commands.
run_windows "$VORQ_WIN_DIR/programs/progman_dde_check.exe" || fail "progman_dde_check"
