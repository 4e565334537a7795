# The installer as signed by the build (the test windows_signed makes it with a throwaway
# certificate): a whole install from it, with every file as the sample's, the program
# group, the file types and the settings key.
. "$VORQ_SOURCE_DIR/tests/wine/journey_lib.sh"

: "${VORQ_SIGNED_EXE:?VORQ_SIGNED_EXE must name the signed installer (made by windows_signed)}"
[ -f "$VORQ_SIGNED_EXE" ] || fail "no signed installer $VORQ_SIGNED_EXE"
mkdir -p "$drive_c/signed"
cp "$VORQ_SIGNED_EXE" "$drive_c/signed/vorq-setup.exe"
setup_exe='c:\signed\vorq-setup.exe'

drive <<STEPS || fail "the signed installer did not install"
$(steps_install 'c:\vorq')
STEPS
dir=$(unix_of 'c:\vorq')
check_installed_files "$dir"
check_group 'c:\vorq'
check_file_types 'c:\vorq'
check_settings_key "$dir/vorq.ini"
