# A second start while the installer runs: it raises the first copy and ends at once
# with exit code 0; no second wizard opens and the first goes on as before.
. "$VORQ_SOURCE_DIR/tests/wine/journey_lib.sh"

drive <<STEPS || fail "a second start"
start $setup_exe
window "$wizard_title" #32770
click 1
wait-text 1 "&Yes"
start $setup_exe
exit 0
window "$wizard_title" #32770
text 1 "&Yes"
click 1
wait-text 1 "&Install"
settext 152 "c:\\vorq"
click 1
wait-text 2 "&Finish"
click 2
gone
exit 0 1
STEPS
pass "the second copy ended with exit code 0 while the first stayed on its page"
pass "the first copy finished the install and ended with exit code 0"
check_installed_files "$(unix_of 'c:\vorq')"
