#!/usr/bin/env bash
# The real game executable, started from a folder whose bmp/ and wav/ are junk, under one condition:
# no-display (bad --scale, no display at all), play (the fresh board, a click at a cell's far corner, P,
# Esc; no sound device), scale (the window's icon, a drag, 192 DPI, --scale 3), window-manager (openbox:
# the frame centred, minimized with the clock standing still, a preset as tall as the screen resting on
# its bottom edge, its close request), maximize (openbox: the board centred at the largest whole scale, a
# click on a cell, one above the face, restored), display-lost (the X server ends under the game). Read
# back against assets/.
# Usage: real_game.sh 'GAME' CONDITION   (GAME starts the game)
# shellcheck disable=SC2119  # the harness's functions take optional arguments
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../harness/x11.sh
. "$here/../harness/x11.sh"
read -r -a game_cmd <<<"$1"
game_dir=$here/../../assets
# What the game finds here counts for nothing: its files are beside it, or built in.
cd "$work"
mkdir bmp wav
for f in bmp/face.bmp bmp/icon.bmp bmp/numb.bmp wav/Left.wav; do echo junk >"$f"; done
# The idle rows atop the last screenshot: in the last column, the cells of the window's colour above the first cell.
idle_rows() {
  convert "$work/shot.png" -crop "1x$((ROWS * CELL))+$((BOARD_W - CELL / 2))+$STRIP" +repage txt:- |
    awk -v cell="$CELL" 'NR > 1 && !below { if ($3 == "#AFAFAF") n++; else below = 1 } END { print int(n / cell) }'
}
case "$2" in
no-display)
  # A bad scale is one line and status 2, before any window; so is no display at all, with 1.
  for args in "--scale" "--scale 9" "--scale=0" "-u DISPLAY -u WAYLAND_DISPLAY" "-u WAYLAND_DISPLAY DISPLAY=:65000" \
              "-u DISPLAY -u XDG_RUNTIME_DIR WAYLAND_DISPLAY=wayland-0"; do
    want=1 line='^dravel2: cannot open a window: .+'
    [ "${args#--}" != "$args" ] && want=2 line='^dravel2: --scale .+' && args="${game_cmd[*]} $args"
    [ "$want" = 1 ] && { for card in /dev/dri/card*; do [ -w "$card" ] && exit 77; done; args="$args ${game_cmd[*]}"; }
    # shellcheck disable=SC2086  # the words are env's and the game's arguments
    env -u SDL_VIDEODRIVER $args >"$work/game.out" 2>"$work/game.log" && status=0 || status=$?
    [ "$status" = "$want" ] && [ ! -s "$work/game.out" ] && [ "$(wc -l <"$work/game.log")" = 1 ] &&
      grep -qE "$line" "$work/game.log" || fail "$args: status $status, $(cat "$work/game.log")"
  done
  ;;
play)
  start_xvfb
  # ALSA without its configuration finds no device, and complains; the terminal hears none of it.
  start_game SDL_AUDIODRIVER=alsa ALSA_CONFIG_PATH=/nonexistent/alsa.conf
  shot
  for y in 8 11 19; do same 80 $((STRIP + y * CELL)) "$CELL" "$CELL" icon.bmp 0 || fail "the fresh board shows no covered cell in row $y"; done
  face_x=$((BOARD_W / 2 - 12))
  same "$face_x" 0 24 24 face.bmp 96 && same 39 0 13 23 numb.bmp 253 && same $((BOARD_W - 13)) 0 13 23 numb.bmp 230 ||
    fail "the face, score 0 or level 1 not in place"
  click_cell 5 15
  shot 0.5
  opened 5 15 || fail "the clicked cell shows no open tile"
  xdotool key --window "$win" p
  shot 0.5
  for x in 0 5 $((COLS - 1)); do same $((x * CELL)) $((BOARD_H - CELL)) "$CELL" "$CELL" icon.bmp 64 || fail "P left cell $x of the last row not idle"; done
  same "$face_x" 0 24 24 face.bmp 0 || fail "no paused face"
  quit_with_esc
  [ "$(tr -d '\r' <"$work/game.log")" = "dravel2: no sound device, playing without sound" ] ||
    fail "not the one line about sound: $(cat "$work/game.log")"
  ;;
scale)
  start_xvfb 1200x1100x24
  start_game SDL_AUDIODRIVER=dummy
  # The window's icon, as the X server holds it, is the compiled-in artwork pixel for pixel (under
  # Wine the exe's own icon shows: play_under_wine.sh).
  icon=$(printf '%d\n' $(grep -o '0x[0-9A-F]\{8\}' "$here/../../platform/sdl/window_icon.inc") | paste -sd,)
  [ "$(xprop -id "$win" -notype -f _NET_WM_ICON 32c _NET_WM_ICON | tr -d ' ')" = "_NET_WM_ICON=16,16,$icon" ] ||
    fail "the window's icon is not the game's artwork"
  shot 0 one
  xdotool windowsize "$win" $((BOARD_W * 12 / 5)) $((BOARD_H * 12 / 5))  # 2.4 times
  client_size $((BOARD_W * 2)) $((BOARD_H * 2)) "$win" 5 || fail "${WIDTH}x$HEIGHT after a drag to 2.4x"
  quit_with_esc
  xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER 'Xft.dpi: 192'
  game_scale=2
  start_game SDL_AUDIODRIVER=dummy
  [ "$X,$Y" = "$(((1200 - 2 * BOARD_W) / 2)),$(((1100 - 2 * BOARD_H) / 2))" ] || fail "the 2x window is at $X,$Y, not centred"
  shot
  crisp one || fail "the 2x picture is not the 1x one in 2 x 2 blocks"
  quit_with_esc
  game_cmd+=(--scale 3) game_scale=3
  start_game SDL_AUDIODRIVER=dummy
  click_cell 5 15
  shot 0.5
  opened 5 15 || fail "the click at the far corner did not open cell (5, 15)"
  quit_with_esc
  ;;
window-manager)
  # A screen just taller than the largest preset's framed window.
  screen_w=1024 screen_h=570
  start_xvfb ${screen_w}x${screen_h}x24
  start_wm
  start_game SDL_AUDIODRIVER=dummy
  # Centred on the frame without its title bar, which then hangs one title height lower.
  read -r left _ top bottom < <(xprop -id "$win" _NET_FRAME_EXTENTS | tr -d ',' | awk '{print $3, $4, $5, $6}')
  [ "$X,$Y" = "$(((screen_w - BOARD_W - 2 * left) / 2 + left)),$(((screen_h - BOARD_H - 2 * bottom) / 2 + top))" ] ||
    fail "the framed window (extents $left $top $bottom) is at $X,$Y, not centred"
  # Minimized 3 s (three rows' rise at level 60), the clock stands still; one may rise while seen.
  click_cell 5 15
  xdotool key --window "$win" --delay 1 $(printf '0 %.0s' $(seq 59))
  shot 0.3
  before=$(idle_rows)
  xdotool windowminimize --sync "$win"
  sleep 3
  xdotool windowactivate --sync "$win"
  shot 0.3
  [ "$(idle_rows)" -ge $((before - 1)) ] || fail "$before idle rows before minimizing, $(idle_rows) after"
  # Preset 3 (32 x 32), centred, would hang below the screen: it rests on the bottom edge.
  xdotool key --window "$win" 3
  want="$(((screen_w - 32 * CELL - 2 * left) / 2 + left)),$((screen_h - 32 * CELL - STRIP - bottom))"
  poll 5 eval 'geometry; [ "$X,$Y" = "$want" ]' || fail "preset 3's framed window is at $X,$Y, not $want"
  wmctrl -i -c "$win"  # the window manager's close (_NET_CLOSE_WINDOW): the frame's close request
  expect_exit "the frame's close request" 0
  [ ! -s "$work/game.log" ] || fail "the game complained on closing"
  ;;
maximize)
  start_xvfb
  start_wm
  start_game SDL_AUDIODRIVER=dummy
  shot 0 one
  wmctrl -i -r "$win" -b add,maximized_vert,maximized_horz
  poll 5 eval 'geometry; [ "$WIDTH" -gt $((BOARD_W * 2)) ]' || fail "not maximized: ${WIDTH}x$HEIGHT"
  # The largest whole scale at which the board fits, the board centred at it, the margin in the
  # window's colour (max.png: the whole client area).
  shot 0.5 max
  n=$((WIDTH / BOARD_W < HEIGHT / BOARD_H ? WIDTH / BOARD_W : HEIGHT / BOARD_H))
  left=$(((WIDTH - BOARD_W * n) / 2)) top=$(((HEIGHT - BOARD_H * n) / 2))
  convert "$work/max.png" -crop "$((BOARD_W * n))x$((BOARD_H * n))+$left+$top" +repage "$work/full.png"
  convert "$work/full.png" -sample "${BOARD_W}x$BOARD_H!" "$work/shot.png"
  WIDTH=$((BOARD_W * n)) HEIGHT=$((BOARD_H * n))
  crisp one || fail "maximized to ${WIDTH}x$HEIGHT, the board is not the 1x one at $n x $n, centred"
  [ "$(convert "$work/max.png" -format '%[hex:p{0,0}]' info:)" = AFAFAF ] || fail "the margin is not the window's colour"
  # The client area's corner on the screen (xdotool counts a reparented window's frame twice).
  eval "$(xwininfo -id "$win" | sed -n 's/^ *Absolute upper-left \([XY]\): *\(-\{0,1\}[0-9]*\)$/\1=\2/p')"
  X=$((X + left)) Y=$((Y + top)) game_scale=$n
  # The board's very first column of pixels is the board's (the first click deals, keeping its
  # cell safe): the near corner of cell (0, 15).
  xdotool mousemove "$X" $((Y + (STRIP + 15 * CELL) * n)) click 1
  # The margin above the face is no face: the game goes on.
  click $((BOARD_W / 2)) -5
  wmctrl -i -r "$win" -b remove,maximized_vert,maximized_horz
  game_scale=1
  client_size "$BOARD_W" "$BOARD_H" "$win" 5 || fail "restored to ${WIDTH}x$HEIGHT, not ${BOARD_W}x$BOARD_H"
  shot 0.3
  opened 0 15 || fail "cell (0, 15) is not open: the click on the maximized board's edge missed it, or the margin was the face"
  quit_with_esc
  ;;
display-lost)
  start_xvfb
  start_game SDL_AUDIODRIVER=dummy
  kill "$xvfb_pid"
  xvfb_pid=""
  expect_exit "the display going away" 1
  [ "$(cat "$work/game.log")" = "dravel2: the display went away" ] || fail "not one line when the display went away"
  ;;
*) fail "unknown condition $2" ;;
esac
echo PASS
