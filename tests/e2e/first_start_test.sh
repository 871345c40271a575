#!/usr/bin/env bash
# A first start on an empty account: the welcome window reads itself aloud, can be dragged and
# snaps to the screen's edge, and Esc hands over to the options window on "General". Then a
# second copy on the same display, and a later start that shows no welcome. The program file
# has a name of its own, with a space: the autostart entry must name that file, quoted.
# Usage: first_start_test.sh PATH_TO_PARLINO GRAB_WINDOW SCREENSHOT_FOLDER
#        (run under tests/run-under-xvfb)
set -euo pipefail
grab=$(realpath "$2")
shots=$3
mkdir -p "$shots"
home=$(mktemp -d)
first=
# The program saves its settings when it is told to end: wait for that before clearing up.
trap 'kill $first 2>/dev/null && wait $first 2>/dev/null; rm -rf "$home"' EXIT
mkdir "$home/bin"
parlino="$home/bin/read aloud"
ln "$(realpath "$1")" "$parlino" 2>/dev/null || cp "$(realpath "$1")" "$parlino"
export XDG_CONFIG_HOME=$home QT_QPA_PLATFORM=xcb
# The speech goes to a file, and the voice's word events to the standard error.
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$home/speech.raw PARLINO_TRACE_WORDS=1

fail() { echo "FAIL: $*"; tail -n 5 "$home/stderr.txt" "$home/Parlino/debug.txt" 2>/dev/null; exit 1; }
wait_for() {  # seconds, command...
  local limit=$1; shift
  for _ in $(seq 1 $((limit * 10))); do "$@" && return 0; sleep 0.1; done
  return 1
}
visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
shown() { test -n "$(visible "$1")"; }
left_of() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^X=//p'; }
at_left_edge() { test "$(left_of "$1")" = 0; }

"$parlino" -log 2>"$home/stderr.txt" &
first=$!
wait_for 20 grep -q "Start : 8" "$home/Parlino/debug.txt" 2>/dev/null \
  || fail "the first copy did not finish starting"
grep -q $'^FirstRun=0\r$' "$home/Parlino/cfg.ini" || fail "cfg.ini lacks FirstRun=0"
grep -qxF "Exec=\"$parlino\" -autostart" "$home/autostart/Parlino.desktop" \
  || fail "no autostart entry for the program file: $(cat "$home/autostart/Parlino.desktop")"

# The welcome window, speaking its text.
wait_for 20 shown '^Welcome to Parlino!$' || fail "no welcome window"
welcome=$(visible '^Welcome to Parlino!$')
[ -z "$(visible '^Parlino!$')" ] || fail "the options window came before the welcome ended"
wait_for 30 bash -c "[ \$(grep -c '^word: @' '$home/stderr.txt') -ge 5 ]" \
  || fail "no word events of the welcome text"
wait_for 10 test -s "$home/speech.raw" || fail "no audio of the welcome text"
"$grab" "$welcome" "$shots/welcome.png" || fail "no screenshot of the welcome window"
echo "screenshot: $shots/welcome.png"

# Dragged by its text to 10 pixels from the left edge, it snaps to the edge.
eval "$(xdotool getwindowgeometry --shell "$welcome")"
xdotool mousemove $((X + 150)) $((Y + 80)) mousedown 1
xdotool mousemove $((X + 100)) $((Y + 90))
xdotool mousemove 160 $((Y + 90))
xdotool mouseup 1
wait_for 5 at_left_edge "$welcome" || fail "the welcome window did not snap: X=$(left_of "$welcome")"

xdotool windowfocus --sync "$welcome"
xdotool key Escape
wait_for 10 shown '^Parlino!$' || fail "no options window after the welcome"
[ -z "$(visible '^Welcome to Parlino!$')" ] || fail "the welcome window stayed"
grep -q $'^WelcomeDlg=1\r$' "$home/Parlino/cfg.ini" || fail "cfg.ini lacks WelcomeDlg=1"
[ "$(grep -c "Start : 8" "$home/Parlino/debug.txt")" = 2 ] || fail "the start-up did not run again"
options=$(visible '^Parlino!$')
"$grab" "$options" "$shots/options-general.png" || fail "no screenshot of the options window"
echo "screenshot: $shots/options-general.png"
# The About tab, four tabs to the right.
xdotool windowfocus --sync "$options"
# Tab puts the focus on the first page's controls, where Ctrl+Tab turns the pages.
xdotool key Tab ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab
sleep 0.5  # a picture only: nothing is asserted about it
"$grab" "$options" "$shots/about.png" || fail "no screenshot of the About tab"
echo "screenshot: $shots/about.png"

"$parlino" &
second=$!
# The second copy shows its notice; answering it ends that copy with status 0.
wait_for 60 bash -c "xdotool search --onlyvisible --pid $second >/dev/null 2>&1" \
  || fail "the second copy showed no notice"
box=$(xdotool search --onlyvisible --pid "$second" | head -n 1)
[ "$(xdotool getwindowname "$box")" = "Parlino!" ] || fail "the notice is not titled Parlino!"
# A key that comes while the box is still being laid out is lost: Return is pressed again until
# the copy has ended.
wait_for 20 bash -c "xdotool windowfocus --sync $box 2>/dev/null; xdotool key Return; sleep 0.2
  ! kill -0 $second 2>/dev/null || grep -q '^State:.*zombie' /proc/$second/status" \
  || fail "Return on the notice did not end the second copy"
status=0
wait "$second" || status=$?
[ "$status" -eq 0 ] || fail "the second copy ended with status $status"
kill -0 "$first" 2>/dev/null || fail "the first copy stopped"

# A later start: hidden in the tray, no welcome. The options hot key shows the options window,
# which proves the start is over; the welcome would have come before it.
kill "$first"
wait "$first" 2>/dev/null || true
"$parlino" -log 2>/dev/null &
first=$!
wait_for 20 bash -c "[ \$(grep -c 'Start : 8' '$home/Parlino/debug.txt') -ge 3 ]" || fail "the later start did not finish"
wait_for 20 bash -c "xdotool key ctrl+F11; sleep 0.3; xdotool search --onlyvisible --name '^Parlino!\$' >/dev/null" \
  || fail "the later start did not answer the options hot key"
[ -z "$(visible '^Welcome to Parlino!$')" ] || fail "the welcome came again"
echo "PASS"
