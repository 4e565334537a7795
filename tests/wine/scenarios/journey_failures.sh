# Failures of a run, each as the user meets it: a folder that cannot be made ([1], back
# to the options page), a corrupt image ([10], the wizard closes, nothing installed), a
# file that cannot be backed up ([7], roll-back, back to the options page) and Program
# Manager refusing the group ([15]: Yes retries, No goes on to the finish page).
. "$VORQ_SOURCE_DIR/tests/wine/journey_lib.sh"

# The boxes' texts, character for character.
box1=$(box_text 1 $'There seems to be a problem creating the directory you specified.\n\nPlease try using a different directory name!')
box10=$(box_text 10 $'The installation file seems to be corrupt!\n\nPlease try running the installation program again or download a new version!')
box6=$(box_text 6 $'There seems to be a problem creating the backup directory.\n\nPlease try installing to a different directory!')
box7=$(box_text 7 $'There seems to be a problem backing up your original files.\n\nPlease try installing to a different directory!')
box15=$(box_text 15 $'There seems to be a problem adding Vorq icons to the Program Manager!\n\nDo you want me to try again?')
drive <<STEPS || fail "a folder that cannot be made"
$(steps_to_options 'c:\no\such\parent\vorq')
click 1
window "Vorq Installation Error [1]" #32770
shot error-1
messagebox "Vorq Installation Error [1]" "$box1" 1
window "$wizard_title" #32770
wait-text 1 "&Install"
$(page_steps 2)
text 152 "c:\\no\\such\\parent\\vorq"
click 2
gone
exit 0
STEPS
[ ! -e "$drive_c/no" ] || fail "c:\\no was made"
pass "[1]: back on the options page with the folder as typed; nothing made"

# One byte of the payload flipped: the integrity check fails before anything is written.
corrupt=$SCENARIO_DIR/corrupt-setup.exe
cp "$setup_exe_unix" "$corrupt"
# Perl is part of every Debian system.
perl -e '
  local $/;
  open my $in, "<:raw", $ARGV[1] or die;
  my $payload = <$in>;
  open my $image, "+<:raw", $ARGV[0] or die;
  my $bytes = <$image>;
  my $head = substr($payload, 0, 64);
  my $at = index($bytes, $head);
  die "no payload\n" if $at <= 0 || index($bytes, $head, $at + 1) >= 0;
  my $where = $at + int(length($payload) / 2);
  seek($image, $where, 0);
  print $image chr(ord(substr($bytes, $where, 1)) ^ 0x20);
  close $image or die;' "$corrupt" "$payload_file" || fail "no payload in the image"
cmp -s "$corrupt" "$setup_exe_unix" && fail "the copy was not changed"
setup_exe=$(windows_path "$corrupt")
drive <<STEPS || fail "a corrupt image"
$(steps_to_options 'c:\vorq10')
click 1
messagebox "Vorq Installation Error [10]" "$box10" 1
gone
exit 0
STEPS
dir=$(unix_of 'c:\vorq10')
# The folder made before the check stays, empty.
[ -z "$(ls -A "$dir" 2>/dev/null)" ] || fail "c:\\vorq10 holds $(ls -A "$dir")"
check_no_group
check_no_file_types
pass "[10]: the wizard closed with exit code 0 and nothing was installed"
setup_exe=$(windows_path "$VORQ_WIN_DIR/vorq-setup.exe")

# An earlier installation whose backup folder is a file: the first backup fails.
dir=$(unix_of 'c:\vorq7')
mkdir -p "$dir"
for name in $installed_files; do printf 'earlier %s\r\n' "$name" >"$dir/$name"; done
echo "not a folder" >"$dir/backup"
cp -a "$dir" "$SCENARIO_DIR/before-7"
drive <<STEPS || fail "a file that cannot be backed up"
$(steps_to_options 'c:\vorq7')
click 1
messagebox "Vorq Installation Error [7]" "$box7" 1
window "$wizard_title" #32770
wait-text 1 "&Install"
$(page_steps 2)
text 152 "c:\\vorq7"
click 2
gone
exit 0
STEPS
diff -r -x vorq.ini "$SCENARIO_DIR/before-7" "$dir" >/dev/null ||
  fail "the roll-back left c:\\vorq7 changed"
# The folder line was taken over on Install: the earlier settings file gets the key.
grep -q '^earlier vorq.ini' "$dir/vorq.ini" || fail "c:\\vorq7\\vorq.ini lost its contents"
check_settings_key "$dir/vorq.ini"
check_no_group
pass "[7]: rolled back, the earlier files untouched, back on the options page"

# An earlier installation whose backup folder cannot be made: a dangling link stands at its
# name, so the folder does not exist for the installer, yet its creation fails.
dir=$(unix_of 'c:\vorq6')
mkdir -p "$dir"
for name in $installed_files; do printf 'earlier %s\r\n' "$name" >"$dir/$name"; done
ln -s /nonexistent/vorq-backup "$dir/backup"
cp -a "$dir" "$SCENARIO_DIR/before-6"
drive <<STEPS || fail "a backup folder that cannot be made"
$(steps_to_options 'c:\vorq6')
click 1
messagebox "Vorq Installation Error [6]" "$box6" 1
window "$wizard_title" #32770
wait-text 1 "&Install"
$(page_steps 2)
click 2
gone
exit 0
STEPS
diff -r --no-dereference -x vorq.ini "$SCENARIO_DIR/before-6" "$dir" >/dev/null ||
  fail "the roll-back left c:\vorq6 changed"
grep -q '^earlier vorq.ini' "$dir/vorq.ini" || fail "c:\vorq6\vorq.ini lost its contents"
pass "[6]: rolled back, the earlier files untouched, back on the options page"

# Program Manager cannot make the group folder where a file of that name is in the way.
programs=$(find "$drive_c/users" -type d -path '*/Start Menu/Programs' | head -n 1)
[ -n "$programs" ] || fail "no Start Menu/Programs folder in the prefix"
echo "in the way" >"$programs/Vorq"
drive <<STEPS || fail "Program Manager refusing"
$(steps_to_options 'c:\vorq15')
click 1
window "Vorq Installation Error [15]" #32770
shot error-15
messagebox "Vorq Installation Error [15]" "$box15" 6
gone
messagebox "Vorq Installation Error [15]" "$box15" 7
window "$wizard_title" #32770
$(steps_finish checked)
STEPS
rm "$programs/Vorq"
check_installed_files "$(unix_of 'c:\vorq15')"
check_no_group
check_file_types 'c:\vorq15'
pass "[15]: Yes asked again, No went on to the finish page; the files stay"
