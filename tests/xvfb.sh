# Sourced by the test scripts: start_xvfb starts a private Xvfb and sets DISPLAY and xvfb (its
# process id). The display number is drawn at random from a high range instead of Xvfb's own
# first free number: a server that is just ending removes its lock before its socket, and a new
# server that took the same number at that moment would lose its socket and refuse every client.
start_xvfb() {
  local numberFile attempt number
  numberFile=$(mktemp)
  for attempt in $(seq 1 20); do
    number=$((1000 + RANDOM % 30000))
    # -noreset: a desktop's server always has other clients, but here the program may be the
    # first; without it, the server resets when the program's display check disconnects and
    # takes the windows of the connections that raced the reset with it.
    Xvfb ":$number" -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$numberFile" \
      >/dev/null 2>&1 &
    xvfb=$!
    # Xvfb writes the number once it accepts connections, and ends at once when the number is
    # taken.
    for _ in $(seq 1 200); do
      [ -s "$numberFile" ] && break
      kill -0 "$xvfb" 2>/dev/null || break
      sleep 0.05
    done
    if [ -s "$numberFile" ]; then
      rm -f "$numberFile"
      export DISPLAY=":$number"
      return 0
    fi
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
  done
  rm -f "$numberFile"
  echo "Xvfb did not start (attempt $attempt)" >&2
  return 1
}
