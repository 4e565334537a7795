#!/usr/bin/env bash
# The Wine test harness. One ctest run shares one virtual X server and one template
# prefix; every scenario runs in a copy of the template of its own and ends with
# `wineserver -k`.
#
#   harness.sh setup WORK        start Xvfb, make the template prefix (WORK/template)
#   harness.sh cleanup WORK      stop that Xvfb
#   harness.sh run WORK SCENARIO copy the template and run tests/wine/scenarios/SCENARIO.sh
#                                (or SCENARIO itself when it is a path to a script)
#
# WORK is a folder under the build folder; screenshots land in WORK/shots. Scenarios get
# the helpers below and the variables VORQ_WIN_DIR (the Windows build folder, given by
# the caller), VORQ_SOURCE_DIR and SCENARIO_DIR (their own folder, holding the prefix,
# logs and scripts).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
command=${1:?usage: harness.sh setup|cleanup|run WORK [SCENARIO]}
WORK=${2:?usage: harness.sh setup|cleanup|run WORK [SCENARIO]}
mkdir -p "$WORK"
WORK=$(cd "$WORK" && pwd)

# VORQ_WINEARCH=win64 runs a 64-bit build of the programs (a by-hand timing comparison).
export WINEARCH=${VORQ_WINEARCH:-win32}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# A throwaway HOME: otherwise Wine links the prefix's Desktop and Documents into the
# real one.
export HOME=$WORK/home
mkdir -p "$HOME"
unset WINESERVER WINELOADER

log() { echo "harness: $*"; }

# Wine under qemu is slow to start; every wait is generous but bounded.
wine_timeout=${VORQ_WINE_TIMEOUT:-600}

start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    # Detached, with its own output, so that ctest does not wait on its pipes.
    setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 </dev/null &
    local pid=$! i
    for i in $(seq 100); do
      if [ -e "/tmp/.X11-unix/X$n" ]; then
        printf 'DISPLAY=:%s\nXVFB_PID=%s\n' "$n" "$pid" >"$WORK/xvfb.env"
        log "Xvfb :$n (pid $pid)"
        return 0
      fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
  done
  log "cannot start Xvfb"
  return 1
}

load_display() {
  if [ ! -e "$WORK/xvfb.env" ]; then
    log "no X server: the setup test did not run"
    return 1
  fi
  # shellcheck disable=SC1091
  . "$WORK/xvfb.env"
  export DISPLAY
}

setup() {
  command -v wine >/dev/null && command -v Xvfb >/dev/null || {
    log "wine or Xvfb is missing: run scripts/install-deps.sh"
    return 1
  }
  if [ -e "$WORK/xvfb.env" ]; then
    cleanup
  fi
  start_xvfb
  load_display
  local template=$WORK/template started=$SECONDS
  rm -rf "$template" "$WORK/scenarios" "$WORK/shots"
  export WINEPREFIX=$template
  timeout "$wine_timeout" wineboot -i || {
    log "wineboot failed; where it says 'Exec format error' this host cannot run i386"
    log "programs by itself: scripts/install-deps.sh sets up qemu-i386 for that"
    return 1
  }
  # Without a window manager Wine waits 2 s on every window close; unmanaged windows do
  # not, and Wine draws their captions itself, so screenshots show them.
  timeout "$wine_timeout" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ \
    /d N /f
  # Nothing of the template may still be running when it is copied.
  timeout "$wine_timeout" wineserver -w
  log "template prefix made in $((SECONDS - started)) s"
}

cleanup() {
  if [ -e "$WORK/xvfb.env" ]; then
    # shellcheck disable=SC1091
    . "$WORK/xvfb.env"
    kill "$XVFB_PID" 2>/dev/null || true
    rm -f "$WORK/xvfb.env"
    log "Xvfb stopped"
  fi
}

# ---- helpers for the scenarios -------------------------------------------------------

fail() {
  echo "FAIL: $*"
  exit 1
}

pass() {
  echo "ok: $*"
}

# The Windows form of a Linux path (drive Z: is the root in every prefix).
windows_path() {
  local path=$1
  echo "Z:${path//\//\\}"
}

# Runs a Windows program under Wine with a time limit; its output goes to the log and to
# the scenario's file NAME.out (NAME-2.out for the second run...). Returns the program's
# exit code (8 bits under wine).
run_windows() {
  local program=$1
  shift
  local name=${program##*[/\\]}
  name=${name%.exe}
  local out=$SCENARIO_DIR/$name.out n=1
  while [ -e "$out" ]; do
    out=$SCENARIO_DIR/$name-$((++n)).out
  done
  local status=0
  timeout "$wine_timeout" wine "$program" "$@" >"$out" 2>&1 || status=$?
  cat "$out"
  return "$status"
}

# Waits (up to 5 min) until a line of FILE matches PATTERN, while the program PID runs;
# fails when it never does.
wait_for_line() {
  local pid=$1 file=$2 pattern=$3
  for _ in $(seq 600); do
    grep -q "$pattern" "$file" 2>/dev/null && return 0
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.5
  done
  grep -q "$pattern" "$file" 2>/dev/null
}

# Runs the driver with the steps given on standard input.
drive() {
  local script=$SCENARIO_DIR/steps-$((++drive_count)).txt
  cat >"$script"
  run_windows "$VORQ_WIN_DIR/driver/vorq-driver.exe" "$(windows_path "$script")"
}
drive_count=0

# The default value of a registry key, as `wine reg query` shows it.
reg_default() {
  local output
  output=$(timeout "$wine_timeout" wine reg query "$1" /ve 2>/dev/null | tr -d '\r') || return 1
  echo "$output" | sed -n 's/^ *(Default) *REG_SZ *//p'
}

# Makes Wine report another Windows version (win95, nt40, win2k, winxp...) from now on.
set_windows_version() {
  timeout "$wine_timeout" wine reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d "$1" /f
}

# Saves the screen as WORK/shots/SCENARIO-NAME.png.
shot() {
  import -display "$DISPLAY" -window root "$SHOTS/$SCENARIO-$1.png" &&
    log "screenshot $SHOTS/$SCENARIO-$1.png"
}

# Takes the screenshots the driver asks for (its step "shot NAME") while a scenario runs.
watch_shot_requests() {
  while :; do
    local request
    for request in "$SCENARIO_DIR"/shots/*.request; do
      [ -e "$request" ] || continue
      shot "$(basename "$request" .request)" || true
      rm -f "$request"
    done
    sleep 0.2
  done
}

end_scenario() {
  local status=$?
  [ -n "${watcher:-}" ] && kill "$watcher" 2>/dev/null || true
  # Never -w: Program Manager's folder windows and any box left open never close.
  timeout 60 wineserver -k 2>/dev/null || true
  log "scenario $SCENARIO ended with $status after $((SECONDS - scenario_start)) s"
  exit "$status"
}

run() {
  SCENARIO=${3:?usage: harness.sh run WORK SCENARIO}
  local script=$here/scenarios/$SCENARIO.sh
  # A scenario kept elsewhere (a benchmark's) is named by its path.
  if [[ $SCENARIO == */* ]]; then
    script=$(cd "$(dirname "$SCENARIO")" && pwd)/$(basename "$SCENARIO")
    SCENARIO=$(basename "$SCENARIO" .sh)
  fi
  [ -f "$script" ] || fail "no scenario $script"
  : "${VORQ_WIN_DIR:?VORQ_WIN_DIR must name the Windows build folder}"
  export VORQ_SOURCE_DIR=${VORQ_SOURCE_DIR:-$(cd "$here/../.." && pwd)}
  [ -d "$WORK/template" ] || fail "no template prefix: the setup test did not pass"
  load_display
  scenario_start=$SECONDS
  SCENARIO_DIR=$WORK/scenarios/$SCENARIO
  SHOTS=$WORK/shots
  rm -rf "$SCENARIO_DIR"
  mkdir -p "$SCENARIO_DIR/shots" "$SHOTS"
  cp -a "$WORK/template" "$SCENARIO_DIR/prefix"
  export WINEPREFIX=$SCENARIO_DIR/prefix
  # One server for the whole scenario (end_scenario kills it): otherwise it exits a few
  # seconds after each program, and a `wine reg query` that starts a new one while the old
  # one is still saving the registry may read it as it was.
  timeout 60 wineserver -p || true
  export VORQ_SHOT_DIR
  VORQ_SHOT_DIR=$(windows_path "$SCENARIO_DIR/shots")
  trap end_scenario EXIT
  watch_shot_requests &
  watcher=$!
  log "scenario $SCENARIO in $SCENARIO_DIR"
  # shellcheck disable=SC1090
  . "$script"
}

case "$command" in
setup) setup ;;
cleanup) cleanup ;;
run) run "$@" ;;
*)
  echo "usage: harness.sh setup|cleanup|run WORK [SCENARIO]" >&2
  exit 2
  ;;
esac
