# Leaving the wizard before Install: Cancel on the welcome and options pages, "&No" on
# the licence page, Escape (IDCANCEL) and the close box on each of the three pages. Each
# ends the installer with exit code 0 and installs nothing. Without Browse the folder was
# never taken over, so a vorq.ini in the shown folder is left alone; after Browse it gets
# the settings key. On the finish page the close box acts as Finish.
. "$VORQ_SOURCE_DIR/tests/wine/journey_lib.sh"

# Started from drive C the default folder is c:\vorq.
mkdir -p "$drive_c/setup"
cp "$VORQ_WIN_DIR/vorq-setup.exe" "$drive_c/setup/"
setup_exe='c:\setup\vorq-setup.exe'
dir=$(unix_of 'c:\vorq')
mkdir -p "$dir"
printf '[text]\r\nignore=*.exe\r\n' >"$dir/vorq.ini"
cp "$dir/vorq.ini" "$SCENARIO_DIR/vorq.ini.before"

# STEPS to reach a page (0, 1 or 2) from the start.
steps_to_page() {
  echo "start $setup_exe"
  echo "window \"$wizard_title\" #32770"
  echo "wait-text 1 \"&Next >\""
  [ "$1" -ge 1 ] && echo "click 1" && echo "wait-text 1 \"&Yes\""
  [ "$1" -ge 2 ] && echo "click 1" && echo "wait-text 1 \"&Install\"" && printf '%s\n' 'text 152 "c:\vorq"'
  page_steps "$1"
}

for page in 0 1 2; do
  for way in "click 2" "command 2" "close"; do
    drive <<STEPS || fail "page $page, $way"
$(steps_to_page $page)
$way
gone
exit 0
STEPS
    pass "page $page, $way: the installer ended with exit code 0"
  done
done
[ "$(ls "$dir")" = vorq.ini ] || fail "c:\\vorq holds $(ls "$dir")"
cmp -s "$SCENARIO_DIR/vorq.ini.before" "$dir/vorq.ini" ||
  fail "cancelling before Install or Browse changed c:\\vorq\\vorq.ini"
check_no_group
check_no_file_types
check_not_launched
pass "nothing installed, nothing registered; vorq.ini in the shown folder untouched"

# Browse takes the folder over: a cancel afterwards writes the settings key into it.
drive <<STEPS || fail "Browse, then Cancel"
$(steps_to_page 2)
click 153
window "Vorq Select Folder" #32770
wait-text 102
settext 102 "C:\\Vorq"
click 1
gone
window "$wizard_title" #32770
wait-text 152 "c:\\vorq"
click 2
gone
exit 0
STEPS
check_settings_key "$dir/vorq.ini"
[ "$(ls "$dir")" = vorq.ini ] || fail "c:\\vorq holds $(ls "$dir")"

# The close box on the finish page acts as Finish: file types, and the ticked launch box.
drive <<STEPS || fail "close on the finish page"
$(steps_quick_to_options 'c:\vorq2')
click 1
wait-text 2 "&Finish"
click 184
checked 184 1
close
gone
exit 0
STEPS
check_file_types 'c:\vorq2'
check_launched 'c:\vorq2'
pass "the close box on the finish page acted as Finish"
