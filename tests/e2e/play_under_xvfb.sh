#!/usr/bin/env bash
# End to end: the real game in a real X server. Starts it, clicks a board cell, reads the
# screen back and checks the opened tile, the face and the counters against the sheets, then
# quits with Esc and expects status 0.
# Usage: play_under_xvfb.sh GAME_DIR   (a folder with dravel2, bmp/ and wav/)
set -euo pipefail
game_dir=$(cd "$1" && pwd)
work=$(mktemp -d)
xvfb_pid=""
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/game.log" ] && sed "s/^/  game: /" "$work/game.log" >&2
  exit 1
}

# Xvfb picks a free display number itself and writes it to fd 3. -noreset: otherwise the server
# resets when xdpyinfo, its only client, leaves, and refuses whoever connects meanwhile.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" \
  >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"

cd "$game_dir"
SDL_AUDIODRIVER=dummy ./dravel2 >"$work/game.log" 2>&1 &
game_pid=$!
win=""
for _ in $(seq 300); do
  win=$(xdotool search --name "^Dravel2 by Quonse$" 2>/dev/null | head -n 1) && [ -n "$win" ] && break
  sleep 0.1
done
[ -n "$win" ] || fail "no window titled 'Dravel2 by Quonse'"
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$win")"  # X, Y, WIDTH, HEIGHT of the client
[ "$WIDTH" = 192 ] && [ "$HEIGHT" = 344 ] || fail "client area ${WIDTH}x$HEIGHT, not 192x344"

# Cell (5, 15): pixels 80..95 across, 24 + 240 .. 24 + 255 down.
xdotool mousemove $((X + 88)) $((Y + 24 + 15 * 16 + 8)) click 1
sleep 0.5
import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$work/shot.png"

# Compares a region of the screenshot with a sprite of a sheet: true when identical.
same() {  # same SHOT_X SHOT_Y W H SHEET SHEET_Y
  convert "$work/shot.png" -crop "$3x$4+$1+$2" +repage "$work/a.png"
  convert "$game_dir/bmp/$5" -crop "$3x$4+0+$6" +repage "$work/b.png"
  [ "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1)" = 0 ]
}
opened=""
for num in 0 1 2 3 4 5 6 7 8; do
  same 80 264 16 16 icon.bmp $((240 - 16 * num)) && opened=$num
done
[ -n "$opened" ] || fail "the clicked cell shows no open tile"
same 84 0 24 24 face.bmp 96 || fail "the play face is not at (84, 0)"
same 0 0 13 23 numb.bmp 23 || fail "the score counter does not start with a blank at (0, 0)"
digit=""
for d in 0 1 2 3 4 5 6 7 8 9; do same 39 0 13 23 numb.bmp $((253 - 23 * d)) && digit=$d; done
[ -n "$digit" ] || fail "no score digit at (39, 0)"
same 179 0 13 23 numb.bmp 230 || fail "the level counter does not show 1 at (179, 0)"
same 166 0 13 23 numb.bmp 23 || fail "no blank before the level at (166, 0)"
echo "opened a $opened; score shows $digit; face and level in place"

xdotool key --window "$win" Escape 2>/dev/null || true
status=""
for _ in $(seq 100); do
  if ! kill -0 "$game_pid" 2>/dev/null; then
    wait "$game_pid" && status=0 || status=$?
    break
  fi
  sleep 0.1
done
game_pid=""
[ -n "$status" ] || fail "the game did not end on Esc"
[ "$status" = 0 ] || { cat "$work/game.log" >&2; fail "exit status $status after Esc"; }
echo "PASS"
