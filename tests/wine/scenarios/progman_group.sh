# The twelve Program Manager commands against Wine's own Program Manager server: the
# group "Vorq" ends up holding the five links, each naming its file.
run_windows "$VORQ_WIN_DIR/programs/progman_group_check.exe" || fail "progman_group_check"

group=$(find "$WINEPREFIX/drive_c" -type d -path '*/Start Menu/Programs/Vorq' | head -n 1)
[ -n "$group" ] || fail "no group folder Start Menu/Programs/Vorq in the prefix"
links=$(find "$group" -maxdepth 1 -name '*.lnk' | wc -l)
[ "$links" -eq 5 ] || fail "the group holds $links links: $(ls "$group")"
for entry in "Vorq32:vorq32.exe" "Vorq Help:vorq.hlp" "IRC Intro:ircintro.hlp" \
  "Readme.txt:readme.txt" "Versions.txt:versions.txt"; do
  link="$group/${entry%%:*}.lnk"
  target=${entry#*:}
  [ -f "$link" ] || fail "no link $link"
  # Link files carry their paths in UTF-16 as well as in ANSI.
  tr -d '\0' <"$link" | grep -aqi "vorq chat\\\\$target" || fail "$link does not name $target"
done
pass "group Vorq holds the five links, each naming its file"
