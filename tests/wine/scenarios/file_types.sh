# The five file-type keys, written by RegisterChatFileType and read back with
# `wine reg query`; the open command quotes the program's path.
run_windows "$VORQ_WIN_DIR/programs/file_types_check.exe" || fail "file_types_check"

folder='c:\program files\vorq chat'
expect_default() {
  local value
  value=$(reg_default "HKCR\\$1") || fail "wine reg query HKCR\\$1"
  [ "$value" = "$2" ] || fail "HKCR\\$1 holds [$value], not [$2]"
  pass "HKCR\\$1 = $2"
}
expect_default '.cha' 'ChatFile'
expect_default '.chat' 'ChatFile'
expect_default 'ChatFile' 'Chat File'
expect_default 'ChatFile\shell\DefaultIcon' "$folder\\vlink32.exe,0"
expect_default 'ChatFile\shell\open\command' "\"$folder\\vlink32.exe\" \"%1\""
