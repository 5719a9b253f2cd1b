#!/usr/bin/env bash
# End to end: the real game in a real X server. Starts it, clicks a board cell, reads the
# screen back and checks the opened tile, the face and the counters against the sheets, then
# quits with Esc and expects status 0.
# Usage: play_under_xvfb.sh GAME_DIR   (a folder with dravel2, bmp/ and wav/)
set -euo pipefail
game_dir=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../xgame.sh
. "$here/../xgame.sh"
cd "$game_dir"

start_xvfb
start_game SDL_AUDIODRIVER=dummy

# Cell (5, 15): pixels 80..95 across, 24 + 240 .. 24 + 255 down.
xdotool mousemove $((X + 88)) $((Y + 24 + 15 * 16 + 8)) click 1
sleep 0.5
import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$work/shot.png"

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

press_esc
expect_exit "Esc" 0
echo "PASS"
