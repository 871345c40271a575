#!/usr/bin/env bash
# A first start on an empty account, then a second copy on the same display.
# Usage: first_start_test.sh PATH_TO_PARLINO   (run under tests/run-under-xvfb)
set -euo pipefail
parlino=$(realpath "$1")
home=$(mktemp -d)
trap 'kill $first 2>/dev/null || true; rm -rf "$home"' EXIT
export XDG_CONFIG_HOME=$home QT_QPA_PLATFORM=xcb

fail() { echo "FAIL: $*"; exit 1; }
wait_for() {  # seconds, command...
  local limit=$1; shift
  for _ in $(seq 1 $((limit * 10))); do "$@" && return 0; sleep 0.1; done
  return 1
}

"$parlino" -log &
first=$!
wait_for 20 test -s "$home/Parlino/debug.txt" && wait_for 10 grep -q "Start : 8" "$home/Parlino/debug.txt" \
  || fail "the first copy did not finish starting"
grep -q $'^FirstRun=0\r$' "$home/Parlino/cfg.ini" || fail "cfg.ini lacks FirstRun=0"
grep -q "^Exec=$parlino -autostart$" "$home/autostart/Parlino.desktop" || fail "no autostart entry"
xdotool search --name '^Parlino!$' >/dev/null || fail "the options window is not shown on a first run"

"$parlino" &
second=$!
# The second copy shows its notice; answering it ends that copy with status 0.
wait_for 20 bash -c "xdotool search --onlyvisible --pid $second >/dev/null 2>&1" \
  || fail "the second copy showed no notice"
box=$(xdotool search --onlyvisible --pid "$second" | head -n 1)
[ "$(xdotool getwindowname "$box")" = "Parlino!" ] || fail "the notice is not titled Parlino!"
xdotool windowfocus --sync "$box"
xdotool key Return
status=0
wait "$second" || status=$?
[ "$status" -eq 0 ] || fail "the second copy ended with status $status"
kill -0 "$first" 2>/dev/null || fail "the first copy stopped"
echo "PASS"
