#!/usr/bin/env bash
# The game as a desktop installs it: cmake --install into a scratch prefix; the desktop entry,
# metainfo and manual page validated; --help, --version and a bad option; the installed game
# started by its desktop entry's exec line under Xvfb, from a folder without game files, shows
# the installed sheets and ends on Esc with 0; the .deb built and clean under lintian.
# Usage: tests/install/check.sh BUILD_DIR   (a built tree, e.g. build-test-plain)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
"$root/scripts/deps"
# shellcheck source=../xgame.sh
. "$root/tests/xgame.sh"
prefix=$work/prefix id=org.dravel2.Dravel2
version=$(sed -n 's/^project(Dravel2 VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")

cmake --install "$build" --prefix "$prefix" >/dev/null
for side in 16 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${side}x$side/apps/$id.png
  [ "$(identify -format %wx%h "$png" 2>&1)" = "${side}x$side" ] || fail "no ${side}-pixel icon"
done
desktop=$prefix/share/applications/$id.desktop
out=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$out" ] || fail "desktop entry: $out"
out=$(appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" 2>&1) &&
  ! grep -q '^[EWI]:' <<<"$out" || fail "metainfo: $out"
out=$(man --warnings -l "$prefix/share/man/man6/dravel2.6" 2>&1 >/dev/null) && [ -z "$out" ] ||
  fail "manual page: $out"

game=$prefix/bin/dravel2
"$game" --help >"$work/help" || fail "--help exits $?"
grep -q '^usage: dravel2' "$work/help" && grep -q '^keys:' "$work/help" && grep -q 'Esc' "$work/help" ||
  fail "--help prints no usage and keys"
[ "$("$game" --version)" = "dravel2 $version" ] || fail "--version prints $("$game" --version)"
status=0
"$game" --bogus >"$work/out" 2>"$work/err" || status=$?
[ "$status" = 2 ] && [ ! -s "$work/out" ] && [ "$(wc -l <"$work/err")" = 2 ] &&
  grep -q "^dravel2: .*'--bogus'" "$work/err" && grep -q '^usage: dravel2' "$work/err" ||
  fail "a bad option: status $status, stderr: $(cat "$work/err")"
echo "installed, validated; --help, --version and a bad option as expected"

# The exec line finds the game on PATH, as a menu would; the working folder holds no game files.
game_dir=$prefix/share/dravel2
read -r -a game_cmd <<<"$(sed -n 's/^Exec=//p' "$desktop")"
mkdir "$work/elsewhere" && cd "$work/elsewhere"
start_xvfb
start_game PATH="$prefix/bin:$PATH" SDL_AUDIODRIVER=dummy
sleep 0.3
import -window root -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$work/shot.png"
same 84 0 24 24 face.bmp 96 || fail "no play face at (84, 0): not the installed sheets"
same 80 264 16 16 icon.bmp 0 || fail "no covered cell at (80, 264): not the installed sheets"
same 179 0 13 23 numb.bmp 230 || fail "no level 1 at (179, 0): not the installed sheets"
press_esc
expect_exit "Esc" 0
echo "the installed game shows its sheets from $PWD and ends on Esc with 0"

cd "$root"
deb=$(packaging/deb | tail -n 1)
lintian --fail-on error,warning "$deb" || fail "lintian on $deb"
echo "$(basename "$deb"): lintian clean"
echo "PASS"
