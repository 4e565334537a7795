# Abort during copying, on the real-scale installer (about ninety slices, so the installing
# page stays up for seconds on any host). While the question is open no slice runs, so
# the page, its status line and the disk hold still and are checked then. Answered No, the
# run goes on and completes. Answered Yes, the run is rolled back (the folder it made is
# gone) and the options page returns with the folder and the options as they were; a
# second Install then completes.
. "$VORQ_SOURCE_DIR/tests/wine/journey_lib.sh"
use_scale_installer

question="Are you sure you want to abort the installation?"

# Driver steps: Install, then Abort as soon as the run shows its Abort button (with an
# argument: once the status line shows that text); the question is left open and the
# status line is printed.
steps_abort_question() {
  echo "click 1"
  echo "wait-text 2 \"Abort\""
  [ -n "${1:-}" ] && echo "wait-text 170 \"$1\""
  echo "click 2"
  echo "window \"Vorq Installation Warning\" #32770"
  echo "window \"$wizard_title\" #32770"
  echo "wait-text 170"
}

# The files a run paused between slices has in DIR, from the status line the driver
# printed (its last "text" line in OUTPUT): the files before the one being cut are
# complete, that one and those after it are not there yet.
check_paused_run() {
  local dir=$1 output=$2 status name k=0 cutting=0
  status=$(tr -d '\r' <<<"$output" | sed -n 's/^  text "\(.*\)"$/\1/p' | tail -n 1)
  case $status in
  "Scanning files...") cutting=0 ;;
  "Scanning file: "*)
    for name in $installed_files; do
      [ "$name" = "${status#Scanning file: }" ] && break
      cutting=$((cutting + 1))
    done
    [ "$cutting" -lt 11 ] || fail "the status line names no file of the payload: $status"
    ;;
  *) fail "between two slices the status line says '$status'" ;;
  esac
  for name in $installed_files; do
    if [ "$k" -lt "$cutting" ]; then
      cmp -s "$packed_dir/$name" "$dir/$name" || fail "$name is not complete while '$status'"
    else
      [ ! -e "$dir/$name" ] || fail "$name is there while '$status'"
    fi
    k=$((k + 1))
  done
  pass "paused at '$status': the $cutting files before it are complete, no later one is there"
}

output=$(drive <<STEPS) || fail "Abort answered No"
$(steps_to_options 'c:\vorq')
$(steps_abort_question)
$(page_steps 3)
shot abort-question
STEPS
echo "$output"
check_paused_run "$(unix_of 'c:\vorq')" "$output"
drive <<STEPS || fail "Abort answered No"
attach "$wizard_title"
messagebox "Vorq Installation Warning" "$question" 7
$(steps_finish checked)
STEPS
check_installed_files "$(unix_of 'c:\vorq')"
check_group 'c:\vorq'
pass "Abort answered No: the run went on and completed"

# The installer keeps running between the drivers, so that the disk can be looked at
# while the question is open and again when the options page is back. The abort comes
# once the first stream is being cut (it takes most of the run), so the folder holds the
# run's temporary state when it is rolled back.
output=$(drive <<STEPS) || fail "Abort answered Yes"
$(steps_to_options 'c:\vorqa')
click 156
click 157
checked 156 0
checked 157 0
checked 158 1
$(steps_abort_question "Scanning file: vorq32.exe")
STEPS
echo "$output"
dir=$(unix_of 'c:\vorqa')
check_paused_run "$dir" "$output"
drive <<STEPS || fail "Abort answered Yes"
attach "$wizard_title"
messagebox "Vorq Installation Warning" "$question" 6
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
