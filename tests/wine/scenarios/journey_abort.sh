# Abort during copying. Answered No, the run goes on and completes. Answered Yes, the
# run is rolled back (the folder it made is gone) and the options page returns with the
# folder and the options as they were; a second Install then completes.
. "$VORQ_SOURCE_DIR/tests/wine/journey_lib.sh"

question="Are you sure you want to abort the installation?"

drive <<STEPS || fail "Abort answered No"
$(steps_to_options 'c:\vorq')
click 1
wait-text 2 "Abort"
click 2
window "Vorq Installation Warning" #32770
shot abort-question
messagebox "Vorq Installation Warning" "$question" 7
window "$wizard_title" #32770
$(steps_finish checked)
STEPS
check_installed_files "$(unix_of 'c:\vorq')"
check_group 'c:\vorq'
pass "Abort answered No: the run went on and completed"

# The installer keeps running between the two drivers, so that the disk can be looked at
# while the options page is back.
read -r cut_index cut_name < <(stream_at_slice_end "$VORQ_WIN_DIR/vorq-setup.exe" 2) ||
  fail "no slice of the image ends inside a stream from index 2 on"
drive <<STEPS || fail "Abort answered Yes"
$(steps_to_options 'c:\vorqa')
click 156
click 157
checked 156 0
checked 157 0
checked 158 1
click 1
wait-text 170 "Scanning file: $cut_name"
click 2
window "Vorq Installation Warning" #32770
STEPS
# The status line named stream cut_index between two slices: the streams before it are in
# place while the question is open.
dir=$(unix_of 'c:\vorqa')
for name in $(echo $installed_files | cut -d' ' -f1-"$cut_index"); do
  cmp -s "$staged_dir/$name" "$dir/$name" || fail "$name was not installed before the abort"
done
drive <<STEPS || fail "Abort answered Yes"
messagebox "Vorq Installation Warning" "$question" 6
window "$wizard_title" #32770
wait-text 1 "&Install"
$(page_steps 2)
text 152 "c:\\vorqa"
checked 156 0
checked 157 0
checked 158 1
STEPS
[ ! -e "$dir" ] || fail "the roll-back left c:\\vorqa: $(ls -A "$dir")"
pass "Abort answered Yes: rolled back, the folder made by the run is gone, the options page is back as it was"

drive <<STEPS || fail "the second Install"
attach "$wizard_title"
click 1
$(steps_finish)
STEPS
check_installed_files "$dir"
[ ! -e "$dir/backup" ] || fail "backups were made although the box was cleared"
check_group 'c:\vorqa'
pass "the second Install completed; the installer ended with exit code 0"
