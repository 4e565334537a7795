# The folder chooser: the program's own runs (a thread drives the dialog), then the
# driver types a folder and presses OK (the lower-cased text comes back), and Cancel
# (the result is 0).
chooser=$(windows_path "$VORQ_WIN_DIR/programs/folder_chooser_check.exe")
run_windows "$VORQ_WIN_DIR/programs/folder_chooser_check.exe" || fail "folder_chooser_check"

drive <<STEPS || fail "OK in the chooser"
start $chooser --external-ok d:\\games\\chat
window "Vorq Select Folder" #32770
wait-text 102 "c:\\vorq"
visible 1152 0
visible 1088 0
shot chooser
settext 102 "D:\\Games\\Chat"
click 1
gone
exit 0
STEPS
pass "OK gave the typed folder, lower-cased"

drive <<STEPS || fail "Cancel in the chooser"
start $chooser --external-cancel
window "Vorq Select Folder" #32770
wait-text 102
click 2
gone
exit 0
STEPS
pass "Cancel gave 0"

# Started from a CD the default folder is on the Windows folder's drive: c:\vorq.
cdrom=$SCENARIO_DIR/cdrom
mkdir -p "$cdrom"
cp "$VORQ_WIN_DIR/programs/folder_chooser_check.exe" "$cdrom/"
ln -s "$cdrom" "$WINEPREFIX/dosdevices/d:"
timeout "$wine_timeout" wine reg add 'HKLM\Software\Wine\Drives' /v d: /t REG_SZ /d cdrom /f
# The drive types are read when the prefix starts.
timeout 60 wineserver -k || true
run_windows 'd:\folder_chooser_check.exe' --default 'c:\vorq' ||
  fail "folder_chooser_check from a CD"
