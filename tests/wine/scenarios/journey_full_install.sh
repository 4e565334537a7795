# The whole road of one install of the real-scale installer: welcome, licence, options
# with the folder c:\vorq, the run slice by slice, the program group, and Finish with both
# boxes ticked; every page that waits for the user checked against the page table on the
# way (the installing page is checked where the abort question holds it, journey_abort).
# Afterwards the eleven files, the group's five links, the file types, the settings key,
# the started client and the help viewer's call.
. "$VORQ_SOURCE_DIR/tests/wine/journey_lib.sh"
use_scale_installer

# Wine's help viewer cannot read the stand-in help file; its error box names the file it
# was asked for, which proves the call. Until that box is answered WinHelpA does not
# return, so the installer ends only after it.
drive <<STEPS || fail "the wizard did not behave"
$(steps_to_options 'c:\vorq' shots)
text 152 "c:\\vorq"
checked 156 1
checked 157 1
checked 158 1
shot options
click 1
wait-text 2 "Abort"
shot installing
wait-text 2 "&Finish"
$(page_steps 4)
checked 183 0
checked 184 0
click 183
click 184
checked 183 1
checked 184 1
shot finish
click 2
gone
messagebox "ERROR" "Error while reading the help file \`c:\\vorq\\vorq.hlp'" 1
exit 0
STEPS
pass "every page as the page table says; Finish ended the installer with exit code 0"

dir=$(unix_of 'c:\vorq')
check_installed_files "$dir"
[ ! -e "$dir/backup" ] || fail "a backup folder was made in a new folder"
check_group 'c:\vorq'
check_file_types 'c:\vorq'
check_settings_key "$dir/vorq.ini"
check_launched 'c:\vorq'
pass "the help viewer was asked for c:\\vorq\\vorq.hlp"
