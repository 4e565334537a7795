# The built installer under Wine: its wizard opens on the welcome page (found by the
# driver by its caption), the next page shows the licence from RCDATA 3 up to its "***"
# line, and "&No" there closes the installer with exit code 0.
licence=$SCENARIO_DIR/licence-shown.txt
sed '/^\*\*\*/,$d' "$VORQ_SOURCE_DIR/resources/licence.txt" >"$licence"

drive <<STEPS || fail "the wizard did not behave"
start $(windows_path "$VORQ_WIN_DIR/vorq-setup.exe")
window "Vorq v5.71 32bit Installation" #32770
text 130 "Welcome to the Vorq installation program! This program will install Vorq v5.71 32bit on your computer."
visible 130 1
visible 141 0
visible 121 0
text 1 "&Next >"
text 2 "Cancel"
shot welcome
click 1
wait-text 1 "&Yes"
visible 141 1
visible 130 0
text 2 "&No"
text-file 141 $(windows_path "$licence")
shot licence
click 2
gone
exit 0
STEPS
pass "the wizard opened, showed the licence and ended with exit code 0"
