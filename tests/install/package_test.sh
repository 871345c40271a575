#!/usr/bin/env bash
# Builds the Debian package from the build, checks it with lintian, checks that apt can satisfy
# its dependencies here, installs it with dpkg into a scratch root, runs the installed
# parlino-say, and removes the package again, leaving nothing behind.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" \
  || { cat "$work/cpack.log"; fail "cpack"; }
debs=("$work"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made ${#debs[@]} packages"
deb=${debs[0]}

# The fields, the dependencies found from the shared libraries, and no maintainer scripts.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = parlino ] || fail "package name $(field Package)"
[ "$(field Section)" = sound ] || fail "section $(field Section)"
for library in libqt6widgets6 libespeak-ng1 libsdl2-2.0-0 libx11-6 libxtst6 libxi6 libc6; do
  field Depends | grep -q "\b$library\b" || fail "Depends lacks $library: $(field Depends)"
done
control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | sed 's#^\./##' | grep -v '^$' | sort | tr '\n' ' ')
[ "$control" = "control md5sums " ] || fail "control files: $control"

# lintian: no errors (warnings and notes are shown for the reader).
lintian --fail-on error --no-tag-display-limit "$deb" | tee "$work/lintian" || fail "lintian errors"

# apt finds everything the package needs on this machine.
apt-get install --simulate --no-install-recommends "$deb" >"$work/apt" 2>&1 \
  || { cat "$work/apt"; fail "apt cannot install the package"; }
grep -q '^Inst parlino ' "$work/apt" || { cat "$work/apt"; fail "apt would not install parlino"; }

# dpkg into a scratch root (its dependencies are this machine's, so they are not checked there).
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/log"
touch "$root/var/lib/dpkg/status"
scratch_dpkg() { dpkg --root="$root" --force-not-root --force-depends --log=/dev/null "$@"; }
scratch_dpkg -i "$deb" >/dev/null || fail "dpkg -i"
"$root/usr/bin/parlino-say" --help | grep -q '^Usage: parlino-say' || fail "installed parlino-say --help"
"$root/usr/bin/parlino-say" --list-voices | grep -q . || fail "installed parlino-say lists no voice"
[ -f "$root/usr/share/parlino/add_voices.ini" ] || fail "no voice catalogue in the package"

# Purging leaves only dpkg's own records.
scratch_dpkg -P parlino >/dev/null || fail "dpkg -P"
left=$(cd "$root" && find . -mindepth 1 -not -type d -not -path './var/lib/dpkg/*' -printf '%P\n')
[ -z "$left" ] || fail "left after removal: $left"
[ ! -e "$root/usr" ] || fail "left after removal: $(cd "$root" && find usr)"
echo "PASS"
