# A ctl3d32.dll planted beside the installer in a download folder, which is also the
# current folder, as when the user starts the installer from there. Wine is told to prefer
# a native ctl3d32.dll to its own, as current Windows (which ships none) finds the copy in
# the installer's folder first. The planted copy must never load, on any Windows version
# Wine reports; where the installer uses the 3-D library at all, the system folder's copy
# (the same stand-in, which leaves its proof in the system folder) loads, is registered and
# unregistered. Then, with no 3-D library in the system folder, a copy in the current
# folder must not load either.
. "$VORQ_SOURCE_DIR/tests/wine/journey_lib.sh"

export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;ctl3d32=n,b"
planted=$VORQ_WIN_DIR/planted/ctl3d32.dll
system_dir=$drive_c/windows/system32
downloads=$drive_c/users/Public/Downloads
mkdir -p "$downloads"
cp "$VORQ_WIN_DIR/vorq-setup.exe" "$planted" "$downloads/"
cp "$planted" "$system_dir/ctl3d32.dll"
proof=ctl3d32-proof.txt

# Starts the installer from FOLDER with the current folder CWD, and leaves the wizard at once.
run_to_wizard() {
  local folder=$1 cwd=$2 status=0
  cd "$cwd"
  drive <<STEPS || status=$?
start $(windows_path "$folder/vorq-setup.exe")
window "$wizard_title" #32770
wait-text 1 "&Next >"
click 2
gone
exit 0
STEPS
  cd "$SCENARIO_DIR"
  return $status
}

# The version Wine reports, and whether the installer takes its shell for an old one (the
# version rule: major 4 is a new shell), in which case it uses the 3-D library.
versions="win10:1 win81:1 win8:1 win7:1 vista:1 win2003:1 winxp:1 win2k:1 winme:0 win98:0
win95:0 nt40:0 nt351:1 win31:1"
for entry in $versions; do
  version=${entry%:*}
  uses_3d=${entry#*:}
  set_windows_version "$version"
  rm -f "$system_dir/$proof"
  run_to_wizard "$downloads" "$downloads" || fail "$version: the wizard did not come up"
  if [ -e "$downloads/$proof" ]; then
    fail "$version: the ctl3d32.dll planted beside the installer was loaded: $(cat "$downloads/$proof")"
  fi
  if [ "$uses_3d" = 1 ]; then
    [ -e "$system_dir/$proof" ] || fail "$version: the system folder's ctl3d32.dll was not loaded"
    for event in loaded Ctl3dRegister Ctl3dAutoSubclass Ctl3dUnregister; do
      tr -d '\r' <"$system_dir/$proof" | grep -qi "^$event .*system32\\\\ctl3d32.dll by .*vorq-setup.exe$" ||
        fail "$version: no '$event' by the installer from the system folder: $(cat "$system_dir/$proof")"
    done
    pass "$version: the planted DLL stayed unloaded; the system folder's one was loaded and used"
  else
    [ ! -e "$system_dir/$proof" ] || fail "$version: a new shell loaded the 3-D library"
    pass "$version: the planted DLL stayed unloaded; a new shell leaves the 3-D library alone"
  fi
done

# Without a 3-D library in the system folder, as on current Windows: a copy in the current
# folder is not taken either, and the wizard comes up with plain controls.
rm -f "$system_dir/ctl3d32.dll" "$system_dir/$proof"
setup_dir=$drive_c/setup
current=$drive_c/users/Public/Documents
mkdir -p "$setup_dir" "$current"
cp "$VORQ_WIN_DIR/vorq-setup.exe" "$setup_dir/"
cp "$planted" "$current/"
for version in winxp win10; do
  set_windows_version "$version"
  run_to_wizard "$setup_dir" "$current" || fail "$version: the wizard did not come up"
  if [ -e "$current/$proof" ]; then
    fail "$version: the ctl3d32.dll in the current folder was loaded: $(cat "$current/$proof")"
  fi
  pass "$version: the ctl3d32.dll in the current folder stayed unloaded"
done
