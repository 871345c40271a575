#!/usr/bin/env bash
# Without an X display that answers, the program says so clearly and ends with status 1 instead
# of aborting in the toolkit. Also with an empty environment (no HOME either), and in a Wayland
# session without XWayland.
# Usage: no_display_test.sh PATH_TO_PARLINO
set -euo pipefail
parlino=$(realpath "$1")
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

fail() { echo "FAIL: $*"; exit 1; }
expect_refusal() {  # what the message must say, then the command
  local wanted=$1; shift
  local status=0
  "$@" >"$home/out" 2>&1 || status=$?
  [ "$status" -eq 1 ] || fail "status $status, not 1, for: $* ($(cat "$home/out"))"
  grep -qF "$wanted" "$home/out" || fail "no clear message for: $* ($(cat "$home/out"))"
}

# A display number with no server behind it.
display=97
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done

expect_refusal "The X display \":$display\" does not answer." \
  env XDG_CONFIG_HOME="$home" DISPLAY=":$display" "$parlino"
expect_refusal "DISPLAY is not set" env -u DISPLAY XDG_CONFIG_HOME="$home" "$parlino"
expect_refusal "does not answer" env -i DISPLAY=":$display" "$parlino" -log
# A Wayland session without XWayland: the message names it, also for a reading asked from a
# desktop shortcut.
expect_refusal "This Wayland session offers no X display (DISPLAY is not set). Parlino runs through XWayland" \
  env -u DISPLAY XDG_CONFIG_HOME="$home" WAYLAND_DISPLAY=wayland-0 "$parlino"
expect_refusal "install it (Debian: the xwayland package)" \
  env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$home" XDG_SESSION_TYPE=wayland "$parlino" -read
echo "PASS"
