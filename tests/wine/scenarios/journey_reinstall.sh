# A second install over the first with backups on and settings kept: the earlier files
# that were replaced are in backup/, the settings files the user edited stay as edited.
. "$VORQ_SOURCE_DIR/tests/wine/journey_lib.sh"

dir=$(unix_of 'c:\vorq')
drive <<STEPS || fail "the first install"
$(steps_install 'c:\vorq')
STEPS
check_installed_files "$dir"

# The user edits the settings and a text file between the two installs.
printf '[edited]\r\nmine=1\r\n' >>"$dir/vorq.ini"
printf '[mine]\r\nserver=irc.example.invalid\r\n' >"$dir/servers.ini"
printf 'my notes\r\n' >"$dir/readme.txt"
cp -a "$dir" "$SCENARIO_DIR/before"

drive <<STEPS || fail "the second install"
$(steps_to_options 'c:\vorq')
checked 156 1
checked 157 1
click 1
$(steps_finish)
STEPS
for name in $installed_files; do
  case $name in
  *.ini)
    [ ! -e "$dir/backup/$name" ] || fail "the kept $name was backed up"
    ;;
  *)
    cmp -s "$SCENARIO_DIR/before/$name" "$dir/backup/$name" ||
      fail "backup/$name is not the earlier $name"
    cmp -s "$packed_dir/$name" "$dir/$name" || fail "$name was not installed anew"
    ;;
  esac
done
cmp -s "$SCENARIO_DIR/before/servers.ini" "$dir/servers.ini" || fail "servers.ini was replaced"
grep -q '^mine=1' "$dir/vorq.ini" || fail "the edit of vorq.ini was lost"
check_settings_key "$dir/vorq.ini"
pass "backup/ holds the earlier files, the edited settings survived"
