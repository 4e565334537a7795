# The twelve Program Manager commands against Wine's own Program Manager server: the
# group "Vorq" ends up holding the five links, each naming its file.
. "$VORQ_SOURCE_DIR/tests/wine/journey_lib.sh"
run_windows "$VORQ_WIN_DIR/programs/progman_group_check.exe" || fail "progman_group_check"

check_group 'c:\program files\vorq chat'
