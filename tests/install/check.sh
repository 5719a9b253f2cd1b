#!/usr/bin/env bash
# The game as a desktop installs it: cmake --install into a scratch prefix; the desktop entry, metainfo and
# manual page validated; --help, --version and a bad option; the installed game, its installed sheets and
# clips removed, played under Xvfb (tests/e2e/real_game.sh play); the .deb built, clean under lintian.
# Usage: tests/install/check.sh BUILD_DIR   (a built tree, e.g. build-test-plain)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
"$root/scripts/deps"
# shellcheck source=../harness/x11.sh
. "$root/tests/harness/x11.sh"  # its scratch folder and fail
prefix=$work/prefix id=org.dravel2.Dravel2
version=$(sed -n 's/^project(Dravel2 VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
cmake --install "$build" --prefix "$prefix" >/dev/null
for side in 16 32 48 64 128 256; do
  [ "$(identify -format %w "$prefix/share/icons/hicolor/${side}x$side/apps/$id.png")" = "$side" ] || fail "no $side-pixel icon"
done
desktop=$prefix/share/applications/$id.desktop
out=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$out" ] || fail "desktop entry: $out"
out=$(appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" 2>&1) &&
  ! grep -q '^[EWI]:' <<<"$out" || fail "metainfo: $out"
out=$(man --warnings -l "$prefix/share/man/man6/dravel2.6" 2>&1 >/dev/null) && [ -z "$out" ] || fail "manual page: $out"
game=$prefix/bin/dravel2
"$game" --help >"$work/help" || fail "--help exits $?"
grep -q '^usage: dravel2' "$work/help" && grep -q '^keys:' "$work/help" && grep -q 'Esc' "$work/help" ||
  fail "--help prints no usage and keys"
[ "$("$game" --version)" = "dravel2 $version" ] || fail "--version prints $("$game" --version)"
"$game" --bogus >"$work/out" 2>"$work/err" && status=0 || status=$?
[ "$status" = 2 ] && [ ! -s "$work/out" ] && [ "$(wc -l <"$work/err")" = 2 ] &&
  grep -q "^dravel2: .*'--bogus'" "$work/err" && grep -q '^usage: dravel2' "$work/err" ||
  fail "a bad option: status $status, stderr: $(cat "$work/err")"
echo "installed, validated; --help, --version and a bad option as expected"
# The installed game, from a folder whose bmp/ is junk: its desktop entry runs it by name.
# Without its share/dravel2 it still shows the real sprites, built into it.
[ "$(sed -n 's/^Exec=//p' "$desktop")" = dravel2 ] || fail "the desktop entry does not run dravel2"
[ -f "$prefix/share/dravel2/bmp/icon.bmp" ] || fail "no sheets installed in share/dravel2"
rm -r "$prefix/share/dravel2"
"$root/tests/e2e/real_game.sh" "$game" play
cd "$root"
deb=$(packaging/deb | tail -n 1)
lintian --fail-on error,warning "$deb" || fail "lintian on $deb"
echo "$(basename "$deb"): lintian clean"
echo "PASS"
