# Browse on the options page: a folder typed into the chooser and confirmed becomes the
# folder line, lower-cased; Cancel in the chooser leaves the line as it was. The install
# then goes into the chosen folder.
. "$VORQ_SOURCE_DIR/tests/wine/journey_lib.sh"

drive <<STEPS || fail "Browse"
$(steps_to_options 'c:\vorq')
click 153
window "Vorq Select Folder" #32770
wait-text 102
shot chooser
settext 102 "C:\\Vorq Chat"
click 1
gone
window "$wizard_title" #32770
wait-text 152 "c:\\vorq chat"
$(page_steps 2)
click 153
window "Vorq Select Folder" #32770
wait-text 102
settext 102 "C:\\Elsewhere"
click 2
gone
window "$wizard_title" #32770
sleep 500
text 152 "c:\\vorq chat"
click 1
$(steps_finish)
STEPS
pass "the chosen folder became the folder line, lower-cased; Cancel changed nothing"
check_installed_files "$(unix_of 'c:\vorq chat')"
[ ! -e "$(unix_of 'c:\elsewhere')" ] || fail "c:\\elsewhere was made"
check_group 'c:\vorq chat'
