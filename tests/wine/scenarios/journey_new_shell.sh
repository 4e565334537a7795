# The shell's age as Windows reports it: on a Windows 95 style shell (95 and NT 4 report
# 4.x) the Readme and Versions items carry no icon of their own; on the old shell rule
# (2000, XP, 7 and 10 report 5.0, 5.1, 6.1 and 10.0, and the installer also loads the 3-D
# control library there) they name Write's icon. The other three items are alike either
# way.
. "$VORQ_SOURCE_DIR/tests/wine/journey_lib.sh"

# Link files carry their strings in UTF-16 as well as in ANSI.
link_text() {
  tr -d '\0' <"$(group_folder)/$1.lnk"
}

for version in win95 nt40 win2k winxp win7 win10; do
  set_windows_version $version
  folder="c:\\vorq-$version"
  drive <<STEPS || fail "an install as $version"
$(steps_install "$folder")
STEPS
  check_group "$folder"
  for item in Readme.txt Versions.txt; do
    if [ $version = win95 ] || [ $version = nt40 ]; then
      link_text "$item" | grep -aqi 'write\.exe' && fail "$version: $item names write.exe"
    else
      link_text "$item" | grep -aqi 'write\.exe' || fail "$version: $item does not name write.exe"
    fi
  done
  for item in Vorq32 "Vorq Help" "IRC Intro"; do
    link_text "$item" | grep -aqi 'write\.exe' && fail "$version: $item names write.exe"
  done
  cp -a "$(group_folder)" "$SCENARIO_DIR/group-$version"
  pass "$version: the Readme and Versions links are as the shell rule says"
done
