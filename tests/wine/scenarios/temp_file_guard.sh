# The Win32 temporary file of the platform operations against other programs: see
# programs/temp_file_check.cpp.
folder=$WINEPREFIX/drive_c/users/Public/temp-check
mkdir -p "$folder"
run_windows "$VORQ_WIN_DIR/programs/temp_file_check.exe" 'c:\users\Public\temp-check\' ||
  fail "temp_file_check"
[ -z "$(ls -A "$folder")" ] || fail "the check left $(ls -A "$folder")"
