#!/usr/bin/env bash
# Ending the real program: "Exit" from its tray menu, the termination signals (SIGTERM while it
# speaks, with the options window open and a setting changed; SIGTERM during the first start's
# welcome; SIGHUP; SIGINT), and the end of the X server. Each case runs on an X server of its
# own with trayer as the tray host, on a fresh account, and checks the exit status, the saved
# settings and the close entries of the log.
# Usage: session_end_test.sh PATH_TO_PARLINO
set -euo pipefail
parlino=$(realpath "$1")
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

home=
fail() {
  echo "FAIL: $*"
  if [ -n "$home" ]; then
    echo "--- debug.txt"; cat "$home/Parlino/debug.txt" 2>/dev/null || true
    echo "--- cfg.ini"; cat "$home/Parlino/cfg.ini" 2>/dev/null || true
    echo "--- errors"; grep -v '^word: ' "$home/stderr" 2>/dev/null || true
  fi
  exit 1
}
wait_for() {  # seconds, command...
  local limit=$1; shift
  for _ in $(seq 1 $((limit * 20))); do "$@" && return 0; sleep 0.05; done
  return 1
}

source "$(dirname "$0")/../xvfb.sh"
start_x() {  # a private X server (DISPLAY, xvfb) with trayer holding its tray
  start_xvfb || fail "Xvfb did not start"
  pids+=("$xvfb")
  # trayer may fail to take the tray while the server is busy: it is started again until its
  # window is there, so a missing icon always means the program's fault.
  for _ in 1 2 3; do
    trayer --edge top --align right --widthtype request --height 24 --SetDockType false \
      >"$work/trayer.log" 2>&1 &
    pids+=("$!")
    wait_for 10 bash -c "xwininfo -root -tree | grep -q '(\"panel\" \"trayer\")'" && return 0
    kill "$!" 2>/dev/null || true
  done
  fail "trayer did not start: $(cat "$work/trayer.log")"
}

start_parlino() {  # arguments...: the program on a new account (home, program)
  home=$work/home.$RANDOM
  mkdir -p "$home/Parlino"
  if [ "${welcome_seen:-true}" = true ]; then
    printf '[General]\r\nWelcomeDlg=1\r\n' >"$home/Parlino/cfg.ini"  # the welcome was seen
  fi
  XDG_CONFIG_HOME=$home SDL_AUDIODRIVER=dummy PARLINO_TRACE_WORDS=1 QT_QPA_PLATFORM=xcb \
    "$parlino" -log "$@" 2>"$home/stderr" &
  program=$!
  pids+=("$program")
  wait_for 30 grep -q "Start : 8" "$home/Parlino/debug.txt" 2>/dev/null \
    || fail "the program did not finish starting"
}

# Waits for the program's end, at most `seconds`; its exit status goes to `status`.
await_end() {  # seconds
  wait_for "$1" bash -c "! kill -0 $program 2>/dev/null || grep -q '^State:.*zombie' /proc/$program/status" \
    || fail "the program did not end"
  status=0
  wait "$program" || status=$?
}

close_entries() {  # the log's entries after the start
  sed -n '/Start : 8/,$p' "$home/Parlino/debug.txt" | tail -n +2 | cut -d ' ' -f 2- | tr -d '\r'
}

expect_entries() {  # entries...
  local expected
  expected=$(printf '%s\n' "$@")
  [ "$(close_entries)" = "$expected" ] \
    || fail "the log's close entries are"$'\n'"$(close_entries)"$'\n'"instead of"$'\n'"$expected"
}

# In the options window: "Minimize to system tray on window closing" turned off, then the
# "Default voice" tab's Test button, which speaks. The speech also tells that the program has
# seen the keys before it.
change_a_setting_and_speak() {
  window=$(xdotool search --sync --onlyvisible --name '^Parlino!$' | head -n 1)
  xdotool windowfocus --sync "$window"
  grep -q '^MinimizeToTray=0' "$home/Parlino/cfg.ini" && fail "the setting is stored already"
  xdotool key alt+m ctrl+Tab alt+t
  wait_for 20 grep -q '^word: ' "$home/stderr" || fail "the voice did not speak"
}

end_of_session=("WMQueryEndSession" "Close : 1" "Close : 2" "Close : 3"
                "BeforeCloseActions : 1" "BeforeCloseActions : 2")
window_destroyed=("BeforeCloseActions : 1" "BeforeCloseActions : 2")

# --- "Exit" from the tray menu: a right click on the icon, then the menu's last item.
start_x
start_parlino -autostart
wait_for 20 bash -c "xwininfo -root -tree | grep -q '\"Parlino\": (\"parlino\" \"Parlino\")'" \
  || fail "no tray icon in"$'\n'"$(xwininfo -root -tree)"
read -r w h x y < <(xwininfo -root -tree | grep '"Parlino": ("parlino" "Parlino")' | head -n 1 \
  | sed -E 's/.* ([0-9]+)x([0-9]+)[+-][0-9]+[+-][0-9]+ +\+(-?[0-9]+)\+(-?[0-9]+)$/\1 \2 \3 \4/')
menu_open() {
  for id in $(xdotool search --onlyvisible --pid "$program" 2>/dev/null); do
    [ "$(xwininfo -id "$id" | awk '/Height:/ {print $2}')" -gt 100 ] && return 0
  done
  return 1
}
# A click while trayer is still placing the icon may go astray: then it is repeated.
opened=false
for _ in 1 2 3; do
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 3
  if wait_for 3 menu_open; then opened=true; break; fi
done
$opened || fail "a right click did not open the menu"
xdotool key Up Return
await_end 10
[ "$status" -eq 0 ] || fail "Exit ended with another status than 0"
grep -q '^HotKey=16392' "$home/Parlino/cfg.ini" || fail "Exit did not save the settings"
expect_entries "Close : 1" "Close : 2" "Close : 3" "${window_destroyed[@]}"
kill "$xvfb"
echo "ok: Exit from the tray menu"

# --- SIGTERM while the options window is open, a setting is changed and a voice speaks.
start_x
start_parlino
change_a_setting_and_speak
started=$(date +%s%N)
kill -TERM "$program"
await_end 10
[ "$status" -eq 0 ] || fail "SIGTERM ended with another status than 0"
echo "SIGTERM while speaking: ended after $((($(date +%s%N) - started) / 1000000)) ms"
grep -q '^MinimizeToTray=0' "$home/Parlino/cfg.ini" || fail "the changed setting was not saved"
grep -q '^CloseMsg' "$home/Parlino/cfg.ini" && fail "the end of the session showed the notice"
expect_entries "${end_of_session[@]}" "${window_destroyed[@]}"
kill "$xvfb"
echo "ok: SIGTERM"

# --- SIGTERM while the first start's welcome is shown.
start_x
welcome_seen=false start_parlino
wait_for 20 bash -c "xdotool search --onlyvisible --name '^Welcome to Parlino!$' >/dev/null" \
  || fail "no welcome window"
kill -TERM "$program"
await_end 10
[ "$status" -eq 0 ] || fail "SIGTERM during the welcome ended with another status than 0"
kill "$xvfb"
echo "ok: SIGTERM during the welcome"

for signal in HUP INT; do
  start_x
  start_parlino -autostart
  kill -"$signal" "$program"
  await_end 10
[ "$status" -eq 0 ] || fail "SIG$signal ended with another status than 0"
  expect_entries "${end_of_session[@]}" "${window_destroyed[@]}"
  kill "$xvfb"
  echo "ok: SIG$signal"
done

# --- The X server ends under the program while it speaks.
start_x
start_parlino
change_a_setting_and_speak
kill "$xvfb"
await_end 10
[ "$status" -eq 0 ] || fail "the end of the X server ended it with another status than 0"
grep -q '^MinimizeToTray=0' "$home/Parlino/cfg.ini" || fail "the changed setting was not saved"
expect_entries "${end_of_session[@]}"
echo "ok: the X server ended"

echo "PASS"
