#!/usr/bin/env bash
# In a Wayland session the program's windows stay on the X display that its hot keys, synthetic
# copy and selections use, even where Qt would pick Wayland: a real compositor (weston, headless)
# answers on WAYLAND_DISPLAY and Qt's Wayland plugin is installed; "-options" on its own command
# line shows the options window there. A platform the user chose with QT_QPA_PLATFORM is kept.
# Usage: wayland_platform_test.sh PATH_TO_PARLINO   (run under tests/run-under-xvfb)
set -euo pipefail
parlino=$(realpath "$1")
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*"; exit 1; }
wait_for() {  # seconds, command...
  local limit=$1; shift
  for _ in $(seq 1 $((limit * 10))); do "$@" && return 0; sleep 0.1; done
  return 1
}

mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime" SDL_AUDIODRIVER=dummy
weston --backend=headless-backend.so --socket=parlino-wayland --idle-time=0 --no-config \
  >"$work/weston.log" 2>&1 &
pids+=($!)
wait_for 30 test -S "$XDG_RUNTIME_DIR/parlino-wayland" || fail "weston did not start: $(cat "$work/weston.log")"
export WAYLAND_DISPLAY=parlino-wayland XDG_SESSION_TYPE=wayland
unset QT_QPA_PLATFORM

settled() {  # an account past its first run and its welcome
  mkdir -p "$1/Parlino"
  printf '[General]\r\nFirstRun=0\r\nWelcomeDlg=1\r\n' >"$1/Parlino/cfg.ini"
}

# Started with -options, the program shows its options window: on the X display.
settled "$work/first"
XDG_CONFIG_HOME="$work/first" "$parlino" -log -options 2>"$work/first.err" &
pids+=($!)
log="$work/first/Parlino/debug.txt"
wait_for 60 grep -q "Wayland session:" "$log" 2>/dev/null || fail "no word on the Wayland session: $(cat "$work/first.err")"
grep -q "Qt platform xcb)" "$log" || fail "not on Qt's xcb platform: $(grep Wayland "$log")"
wait_for 30 xdotool search --onlyvisible --name '^Parlino!$' >/dev/null \
  || fail "the options window is not on the X display"
kill "${pids[-1]}" && wait "${pids[-1]}" || fail "the first copy did not end cleanly"

# The user's own choice stands.
settled "$work/chosen"
XDG_CONFIG_HOME="$work/chosen" QT_QPA_PLATFORM=wayland "$parlino" -log -autostart 2>"$work/chosen.err" &
pids+=($!)
log="$work/chosen/Parlino/debug.txt"
wait_for 60 grep -q "Wayland session:" "$log" 2>/dev/null || fail "no word on the Wayland session: $(cat "$work/chosen.err")"
grep -q "Qt platform wayland)" "$log" || fail "the chosen platform was not kept: $(grep Wayland "$log")"
echo "PASS"
