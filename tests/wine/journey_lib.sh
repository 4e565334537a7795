# Shared by the journey_* scenarios: the installer as a user drives it, and what a
# finished (or abandoned) install leaves on disk, in the registry and in the Start Menu.
# Sourced by a scenario after the harness has set WINEPREFIX, VORQ_WIN_DIR and
# SCENARIO_DIR.

setup_exe=$(windows_path "$VORQ_WIN_DIR/vorq-setup.exe")
staged_dir=$VORQ_WIN_DIR/../sample-staged
payload_file=$VORQ_WIN_DIR/../payload/payload.bin
drive_c=$WINEPREFIX/drive_c
wizard_title="Vorq v5.71 32bit Installation"

# The eleven installed files, in payload order.
installed_files="vorq32.exe vlink32.exe vorq.hlp ircintro.hlp readme.txt versions.txt vorq.ini
aliases.ini popups.ini servers.ini urls.ini"

settings_value='*.exe,*.com,*.bat,*.dll,*.ini,*.vrq,*.vbs,*.js,*.pif,*.scr,*.lnk,*.pl'

# The launched client and link program note their command lines here.
export VORQ_TEST_LOG=$SCENARIO_DIR

# Driver steps that check the wizard's current page against the page table: which group
# is shown, the two command buttons, and Back hidden and disabled everywhere.
page_steps() {
  local page=$1 id
  local -a shown=(0 0 0 0 0)
  shown[page]=1
  echo "# page $page"
  echo "caption \"$wizard_title\""
  for id in 130 131 132 133; do echo "visible $id ${shown[0]}"; done
  for id in 140 141 142; do echo "visible $id ${shown[1]}"; done
  for id in 180 181 182 183 184 185; do
    echo "visible $id ${shown[4]}"
    echo "enabled $id ${shown[4]}"
  done
  echo "visible 121 0"
  echo "enabled 121 0"
  # The bar frames only place the bars; they are never shown.
  echo "visible 171 0"
  echo "visible 173 0"
  case $page in
  0)
    for id in 150 152 153 156 158 159 170 172; do echo "visible $id 0"; done
    button_steps 1 "&Next >" 1 1
    button_steps 2 "Cancel" 1 1
    ;;
  1)
    for id in 150 152 153 156 158 159 170 172; do echo "visible $id 0"; done
    echo "enabled 141 1"
    button_steps 1 "&Yes" 1 1
    button_steps 2 "&No" 1 1
    ;;
  2)
    for id in 150 151 152 153 154 155 156 157 158 159; do
      echo "visible $id 1"
      echo "enabled $id 1"
    done
    for id in 170 172; do echo "visible $id 0"; done
    button_steps 1 "&Install" 1 1
    button_steps 2 "Cancel" 1 1
    ;;
  3)
    for id in 150 151 152 154; do echo "visible $id 1"; done
    echo "visible 153 1"
    echo "enabled 153 0"
    for id in 155 156 157 158 159; do
      echo "visible $id 0"
      echo "enabled $id 0"
    done
    for id in 170 172; do echo "visible $id 1"; done
    button_steps 1 "&Install" 1 0
    button_steps 2 "Abort" 1 1
    ;;
  4)
    for id in 150 152 153 156 158 159 170 172; do echo "visible $id 0"; done
    echo "visible 1 0"
    echo "enabled 1 0"
    button_steps 2 "&Finish" 1 1
    ;;
  esac
}

button_steps() {
  echo "text $1 \"$2\""
  echo "visible $1 $3"
  echo "enabled $1 $4"
}

# Driver steps from the start to the options page, with the folder line set to FOLDER
# (empty: the default folder stays); with SHOTS set, screenshots of the first two pages.
steps_to_options() {
  local folder=${1:-} shots=${2:-}
  echo "start $setup_exe"
  echo "window \"$wizard_title\" #32770"
  echo "wait-text 1 \"&Next >\""
  page_steps 0
  [ -n "$shots" ] && echo "shot welcome"
  echo "click 1"
  echo "wait-text 1 \"&Yes\""
  page_steps 1
  [ -n "$shots" ] && echo "shot licence"
  echo "click 1"
  echo "wait-text 1 \"&Install\""
  page_steps 2
  if [ -n "$folder" ]; then
    echo "settext 152 \"$folder\""
  fi
}

# The Linux path of a folder given as c:\...
unix_of() {
  local path=${1#[cCzZ]:}
  case $1 in
  [zZ]:*) echo "${path//\\//}" ;;
  *) echo "$drive_c${path//\\//}" ;;
  esac
}

# A settings file without its ignore= line; Wine's profile writer also drops blank lines
# when it rewrites a file.
settings_body() {
  tr -d '\r' <"$1" | sed -e '/^ignore=/d' -e '/^$/d'
}

# The eleven files in DIR are byte for byte the staged sample, except vorq.ini, which
# the settings key has changed after the install (that key is checked on its own).
check_installed_files() {
  local dir=$1 name
  for name in $installed_files; do
    [ -f "$dir/$name" ] || fail "$dir/$name is missing"
    if [ "$name" = vorq.ini ]; then
      cmp -s <(settings_body "$staged_dir/$name") <(settings_body "$dir/$name") ||
        fail "$dir/$name differs from the sample beyond its ignore key"
    else
      cmp -s "$staged_dir/$name" "$dir/$name" || fail "$dir/$name differs from the sample"
    fi
  done
  pass "the eleven files in $dir are the sample's (byte for byte but the settings key)"
}

# Nothing was installed into DIR: it is missing or holds none of the eleven files.
check_nothing_installed() {
  local dir=$1 name
  [ -d "$dir" ] || return 0
  for name in $installed_files; do
    [ -e "$dir/$name" ] && fail "$dir/$name exists"
  done
  return 0
}

group_folder() {
  find "$drive_c" -type d -path '*/Start Menu/Programs/Vorq' 2>/dev/null | head -n 1
}

# The five links of group Vorq, each naming its target in FOLDER (as the wizard keeps it).
check_group() {
  local folder=$1 group entry link target
  group=$(group_folder)
  [ -n "$group" ] || fail "no group folder Start Menu/Programs/Vorq in the prefix"
  local links
  links=$(find "$group" -maxdepth 1 -name '*.lnk' | wc -l)
  [ "$links" -eq 5 ] || fail "the group holds $links links: $(ls "$group")"
  for entry in "Vorq32:vorq32.exe" "Vorq Help:vorq.hlp" "IRC Intro:ircintro.hlp" \
    "Readme.txt:readme.txt" "Versions.txt:versions.txt"; do
    link="$group/${entry%%:*}.lnk"
    target=${entry#*:}
    [ -f "$link" ] || fail "no link $link"
    # Link files carry their paths in UTF-16 as well as in ANSI.
    tr -d '\0' <"$link" | grep -aqiF "$folder\\$target" || fail "$link does not name $target"
  done
  pass "group Vorq holds the five links, each naming its file in $folder"
}

check_no_group() {
  [ -z "$(group_folder)" ] || fail "a group Vorq was made: $(group_folder)"
}

# The file types for the link program in FOLDER.
check_file_types() {
  local folder=$1 value
  value=$(reg_default 'HKCR\.cha') || fail "no key HKCR\\.cha"
  [ "$value" = "ChatFile" ] || fail "HKCR\\.cha is '$value'"
  value=$(reg_default 'HKCR\.chat') || fail "no key HKCR\\.chat"
  [ "$value" = "ChatFile" ] || fail "HKCR\\.chat is '$value'"
  value=$(reg_default 'HKCR\ChatFile') || fail "no key HKCR\\ChatFile"
  [ "$value" = "Chat File" ] || fail "HKCR\\ChatFile is '$value'"
  value=$(reg_default 'HKCR\ChatFile\shell\DefaultIcon') || fail "no DefaultIcon key"
  [ "$value" = "$folder\\vlink32.exe,0" ] || fail "DefaultIcon is '$value'"
  value=$(reg_default 'HKCR\ChatFile\shell\open\command') || fail "no open command key"
  [ "$value" = "\"$folder\\vlink32.exe\" \"%1\"" ] || fail "the open command is '$value'"
  pass "file types .cha and .chat registered for $folder\\vlink32.exe"
}

check_no_file_types() {
  if reg_default 'HKCR\.cha' >/dev/null || reg_default 'HKCR\ChatFile' >/dev/null; then
    fail "file types were registered"
  fi
  return 0
}

# Section [text] of the settings file FILE holds ignore= with the fixed list.
check_settings_key() {
  local file=$1
  [ -f "$file" ] || fail "no settings file $file"
  tr -d '\r' <"$file" | awk -v want="ignore=$settings_value" '
    /^\[/ { section = $0; next }
    section == "[text]" && $0 == want { found = 1 }
    END { exit !found }' || fail "$file has no [text] ignore=$settings_value"
  pass "the settings key is in $file"
}

check_no_settings_key() {
  local file=$1
  [ -f "$file" ] || return 0
  if tr -d '\r' <"$file" | grep -qF "ignore=$settings_value"; then
    fail "the settings key was written into $file"
  fi
  return 0
}

# The client was started (with its folder in the command line) or not at all.
check_launched() {
  local log=$SCENARIO_DIR/vorq-started.txt
  local waited=0
  while [ ! -s "$log" ] && [ $waited -lt 100 ]; do
    sleep 0.1
    waited=$((waited + 1))
  done
  [ -s "$log" ] || fail "the client was not started"
  tr -d '\0' <"$log" | grep -qiF "$1\\vorq32.exe" || fail "the client started as: $(cat "$log")"
  pass "the client was started: $(tr -d '\r' <"$log" | head -n 1)"
}

check_not_launched() {
  [ ! -e "$SCENARIO_DIR/vorq-started.txt" ] || fail "the client was started"
}

# Driver steps from the start to the options page without checking the pages on the way,
# with FOLDER typed into the folder line.
steps_quick_to_options() {
  echo "start $setup_exe"
  echo "window \"$wizard_title\" #32770"
  echo "click 1"
  echo "wait-text 1 \"&Yes\""
  echo "click 1"
  echo "wait-text 1 \"&Install\""
  echo "settext 152 \"$1\""
}

# Driver steps for the end of a run: the finish page (checked against the page table when
# the argument is "checked"), Finish with the boxes as they are, and exit code 0.
steps_finish() {
  echo "wait-text 2 \"&Finish\""
  [ "${1:-}" = checked ] && page_steps 4
  echo "click 2"
  echo "gone"
  echo "exit 0"
}

# Driver steps of a whole install into FOLDER with the options as they open (backups,
# settings kept, shortcuts) and Finish with neither finish box ticked.
steps_install() {
  steps_quick_to_options "$1"
  echo "click 1"
  steps_finish
}

# A message box text with line breaks, for the driver's "messagebox CAPTION @FILE BUTTON":
# writes TEXT into the scenario's folder and prints the @ word naming it.
box_text() {
  local file=$SCENARIO_DIR/box-$1.txt
  printf '%s' "$2" >"$file"
  echo "@$(windows_path "$file")"
}

# The first stream of index MIN or more during which a pump slice of the installer IMAGE
# ends, as "INDEX NAME": its "Scanning file:" line is on the screen between two slices,
# while the streams before it are installed. Slices end after every 10001 bytes of the
# image; a stream's line shows from the end of the marker before it to the end of the one
# after it. Which stream that is moves with the image's layout, so it is read from it.
stream_at_slice_end() {
  local image=$1 min=$2
  "$VORQ_WIN_DIR/../builder/vorq-pack" check "$image" | awk -v min="$min" '
    /^first marker at byte/ { start = $5 + 4 }
    /^stream / {
      index_ = $2; name = $3; stored = $5
      end = start + stored + 4
      first = int((start + 10000) / 10001) * 10001
      if (index_ >= min && first < end && !found) { print index_, name; found = 1 }
      start = end
    }
    END { exit !found }'
}
