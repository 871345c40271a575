#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks the tree: the file list, the launcher,
# the AppStream description, the icons, the manual pages, and both installed programs, run from
# a place other than their prefix, finding their data.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR   (run under tests/run-under-xvfb)
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
parlino=
trap '[ -n "$parlino" ] && kill "$parlino" 2>/dev/null; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; exit 1; }
wait_for() {  # seconds, command...
  local limit=$1; shift
  for _ in $(seq 1 $((limit * 10))); do "$@" && return 0; sleep 0.1; done
  return 1
}

# Installed under DESTDIR, the programs never run at their prefix: they must find their data
# relative to themselves.
prefix=/opt/parlino-prefix
DESTDIR=$work/destdir cmake --install "$build" --prefix "$prefix" >/dev/null
root=$(realpath "$work/destdir$prefix")
id=example.parlino.Parlino

# The tree, exactly.
expected=(
  bin/parlino bin/parlino-say
  "share/applications/$id.desktop"
  "share/metainfo/$id.metainfo.xml"
  share/icons/hicolor/scalable/apps/parlino.svg
  share/man/man1/parlino.1.gz share/man/man1/parlino-say.1.gz
  share/parlino/add_voices.ini
  share/doc/parlino/copyright share/doc/parlino/changelog.gz
)
sizes=(16 22 24 32 48 64 128 256)
for size in "${sizes[@]}"; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/parlino.png")
done
if [ -d "$source/docs/help" ]; then
  while IFS= read -r page; do expected+=("share/parlino/help/$page"); done \
    < <(cd "$source/docs/help" && find . -type f -printf '%P\n')
fi
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find . -not -type d -printf '%P\n' | sort) \
  || fail "the installed files differ from the list (< expected, > installed)"

# Launcher and AppStream description.
desktop-file-validate "$root/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml" >"$work/appstream" \
  || { cat "$work/appstream"; fail "appstreamcli validate"; }
grep -qx 'Exec=parlino' "$root/share/applications/$id.desktop" || fail "the launcher runs no parlino"
grep -qx 'Icon=parlino' "$root/share/applications/$id.desktop" || fail "the launcher names no icon"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
  "$root/share/metainfo/$id.metainfo.xml" || fail "the AppStream file names another launcher"

# Icons: a PNG of each size, and the scalable one.
for size in "${sizes[@]}"; do
  kind=$(file -b "$root/share/icons/hicolor/${size}x${size}/apps/parlino.png")
  [[ $kind == "PNG image data, $size x $size,"* ]] || fail "the ${size} pixel icon is $kind"
done
[[ $(file -b "$root/share/icons/hicolor/scalable/apps/parlino.svg") == "SVG Scalable Vector Graphics image"* ]] \
  || fail "the scalable icon is no SVG"

# Manual pages render without a warning.
for page in parlino parlino-say; do
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
    man --warnings -E UTF-8 -l -Tutf8 -Z "$root/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "the manual page of $page warns: $warnings"
done

# parlino-say from the install.
"$root/bin/parlino-say" --help | grep -q '^Usage: parlino-say' || fail "parlino-say --help"
"$root/bin/parlino-say" --list-voices >"$work/voices" || fail "parlino-say --list-voices"
[ -s "$work/voices" ] || fail "parlino-say lists no voice"

# parlino from the install, on a fresh account: its autostart entry names the installed program,
# and its Help button opens the help in the install's data folder, beside the voice catalogue.
mkdir -p "$work/fakebin"
cat >"$work/fakebin/xdg-open" <<OPEN
#!/bin/sh
printf '%s\n' "\$1" >>"$work/opened"
OPEN
chmod +x "$work/fakebin/xdg-open"
# No sound card here: the dummy device keeps the "no audio device" notice out of the way.
export XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy PATH=$work/fakebin:$PATH
"$root/bin/parlino" -log &
parlino=$!
wait_for 30 grep -qs "Start : 8" "$XDG_CONFIG_HOME/Parlino/debug.txt" || fail "parlino did not start"
grep -qx "Exec=$root/bin/parlino -autostart" "$XDG_CONFIG_HOME/autostart/Parlino.desktop" \
  || fail "the autostart entry does not name the installed program"
# The first start opens the installed tutorial and the welcome window; Esc goes on.
wait_for 20 bash -c "xdotool search --onlyvisible --name '^Welcome to Parlino!\$' >/dev/null" \
  || fail "the welcome window is not shown on a first start"
tutorial=$(head -n 1 "$work/opened")
[ "${tutorial#file://}" = "$root/share/parlino/help/tutorial.html" ] || fail "opened $tutorial"
welcome=$(xdotool search --onlyvisible --name '^Welcome to Parlino!$' | head -n 1)
xdotool windowfocus --sync "$welcome"
xdotool key Escape
wait_for 20 bash -c "xdotool search --onlyvisible --name '^Parlino!\$' >/dev/null" \
  || fail "the options window is not shown on a first start"
window=$(xdotool search --onlyvisible --name '^Parlino!$' | head -n 1)
xdotool windowfocus --sync "$window"
xdotool key alt+h
wait_for 20 bash -c "[ \$(wc -l <'$work/opened') -ge 2 ]" || fail "the Help button opened nothing: $(cat "$work/opened")"
help=$(sed -n 2p "$work/opened")
help=${help#file://}
[ "$help" = "$root/share/parlino/help/index.html" ] || fail "Help opened $help"
[ -f "$(dirname "$(dirname "$help")")/add_voices.ini" ] || fail "no voice catalogue beside the help"
echo "PASS"
