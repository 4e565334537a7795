# Something planted at the temporary file's name "vorq.tmp" in the user's temporary
# folder: a link to a file of the user's (under Wine a Unix symbolic link stands for the
# Windows link), a link to a name where nothing is, and a file left by a crashed run. A
# whole install afterwards succeeds each time, what stood at the name is still there as it
# was, the file the link points at is byte-identical, nothing appears where the dangling
# link points, and the run leaves no temporary file of its own.
. "$VORQ_SOURCE_DIR/tests/wine/journey_lib.sh"

temp_windows=$(timeout 60 wine cmd /c echo %TEMP% | tr -d '\r')
temp_dir=$(timeout 60 winepath -u "$temp_windows" | tr -d '\r')
temp_dir=${temp_dir%/}
[ -d "$temp_dir" ] || fail "no temporary folder $temp_windows ($temp_dir)"
name=$temp_dir/vorq.tmp
docs=$drive_c/users/Public/Documents
mkdir -p "$docs"

# Plants KIND at the name; prints nothing.
plant() {
  rm -rf "$name" "$docs/nowhere.txt"
  case $1 in
  link)
    head -c 5000 /dev/urandom >"$docs/precious.bin"
    cp "$docs/precious.bin" "$SCENARIO_DIR/precious.before"
    ln -s "$docs/precious.bin" "$name"
    ;;
  dangling-link) ln -s "$docs/nowhere.txt" "$name" ;;
  leftover)
    printf 'left by a crashed run\r\n' >"$name"
    cp "$name" "$SCENARIO_DIR/leftover.before"
    ;;
  esac
}

for kind in link dangling-link leftover; do
  plant $kind
  before=$(cd "$temp_dir" && ls -A | sort)
  folder="c:\\vorq-$kind"
  drive <<STEPS || fail "$kind at vorq.tmp: the install did not finish"
$(steps_install "$folder")
STEPS
  check_installed_files "$(unix_of "$folder")"
  case $kind in
  link)
    [ -L "$name" ] || fail "the link at vorq.tmp is gone"
    [ "$(readlink "$name")" = "$docs/precious.bin" ] || fail "the link points elsewhere now"
    [ -f "$docs/precious.bin" ] || fail "the file the link points at is gone"
    cmp -s "$SCENARIO_DIR/precious.before" "$docs/precious.bin" ||
      fail "the file the link points at was changed"
    ;;
  dangling-link)
    [ -L "$name" ] || fail "the dangling link at vorq.tmp is gone"
    [ ! -e "$docs/nowhere.txt" ] || fail "a file was made where the dangling link points"
    ;;
  leftover)
    [ -f "$name" ] && [ ! -L "$name" ] || fail "the leftover vorq.tmp is gone"
    cmp -s "$SCENARIO_DIR/leftover.before" "$name" || fail "the leftover vorq.tmp was changed"
    ;;
  esac
  after=$(cd "$temp_dir" && ls -A | sort)
  [ "$before" = "$after" ] || fail "the temporary folder held '$before' and now '$after'"
  pass "$kind at vorq.tmp: installed, and what stood there is as it was"
done
