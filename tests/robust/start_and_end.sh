#!/usr/bin/env bash
# Start-up and shutdown of the real game executable, one condition a run:
#   no-display    no X11, no Wayland, no driver named: one clear line on stderr, status 1
#   no-audio      in Xvfb, with audio drivers that find no device: plays silent, Esc gives 0
#   frame-close   in Xvfb, the close request a window frame sends: status 0
#   resize-storm  in Xvfb, a thousand resizes by hand while rows rise and clicks come in: the
#                 client area ends at the board's size, no click or key press is lost, the
#                 frame is whole, and Esc still gives 0
# Usage: start_and_end.sh GAME_DIR WM_CLOSE CONDITION   (GAME_DIR holds dravel2, bmp/ and wav/;
# WM_CLOSE is the helper that sends the frame's close request)
set -euo pipefail
game_dir=$(cd "$1" && pwd)
wm_close=$2
condition=$3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../xgame.sh
. "$here/../xgame.sh"
cd "$game_dir"

case "$condition" in
no-display)
  # A console whose graphics card we may open is a display after all (SDL's KMSDRM driver).
  for card in /dev/dri/card*; do
    [ -r "$card" ] && [ -w "$card" ] && { echo "SKIP: $card can show a window"; exit 77; }
  done
  # Nothing at all; a DISPLAY naming no server; a Wayland name that no socket can match.
  for setting in "-u DISPLAY -u WAYLAND_DISPLAY" "-u WAYLAND_DISPLAY DISPLAY=:65000" \
                 "-u DISPLAY -u XDG_RUNTIME_DIR WAYLAND_DISPLAY=wayland-0"; do
    # shellcheck disable=SC2086  # the setting is split into env's arguments on purpose
    env -u SDL_VIDEODRIVER $setting timeout 20 ./dravel2 >"$work/game.out" 2>"$work/game.log" &&
      status=0 || status=$?
    [ "$status" = 124 ] && fail "the game ran on without a display ($setting)"
    [ "$status" = 1 ] || fail "exit status $status without a display ($setting), not 1"
    [ ! -s "$work/game.out" ] || fail "the game wrote to stdout ($setting)"
    [ "$(wc -l <"$work/game.log")" = 1 ] || fail "not exactly one line on stderr ($setting)"
    grep -qE '^dravel2: cannot open a window: .+' "$work/game.log" ||
      fail "no clear reason given ($setting)"
    echo "env $setting: $(cat "$work/game.log")"
  done
  ;;
no-audio)
  start_xvfb
  # none-such names no driver; ALSA finds no card here; the sound servers are not running.
  for driver in none-such alsa pulseaudio; do
    start_game SDL_AUDIODRIVER="$driver" DRAVEL2_TRACE=1
    # A click that sounds a cue, then Esc.
    xdotool mousemove $((X + 88)) $((Y + 24 + 15 * 16 + 8)) click 1
    for _ in $(seq 50); do [ "$(presses)" -ge 1 ] && break; sleep 0.1; done
    [ "$(presses)" -ge 1 ] || fail "the click was not taken with SDL_AUDIODRIVER=$driver"
    press_esc
    expect_exit "Esc with SDL_AUDIODRIVER=$driver" 0
    echo "SDL_AUDIODRIVER=$driver: played silent, exit 0"
  done
  ;;
frame-close)
  start_xvfb
  start_game SDL_AUDIODRIVER=dummy
  "$wm_close" "$win" || fail "could not send the close request"
  expect_exit "the frame's close request" 0
  [ ! -s "$work/game.log" ] || fail "the game complained on closing"
  echo "closed through the frame, exit 0"
  ;;
resize-storm)
  start_xvfb
  start_game SDL_AUDIODRIVER=dummy DRAVEL2_TRACE=1
  # Level 96 (95 presses of 0): a row rises about every 0.6 s once play starts. Then a click
  # on cell (5, 15) starts play.
  keys=()
  for _ in $(seq 95); do keys+=(0); done
  xdotool key --window "$win" --delay 2 "${keys[@]}"
  xdotool mousemove $((X + 88)) $((Y + 24 + 15 * 16 + 8)) click 1
  # A thousand resizes over about three seconds, with a click on the score counter (which does
  # nothing but repaint) after every tenth. Without a window manager the window keeps its
  # corner, so the pointer stays inside it.
  storm=(mousemove $((X + 5)) $((Y + 5)))
  for i in $(seq 1000); do
    storm+=(windowsize "$win" $((50 + RANDOM % 500)) $((50 + RANDOM % 500)))
    [ $((i % 5)) = 0 ] && storm+=(sleep 0.01)
    [ $((i % 10)) = 0 ] && storm+=(mousedown 1 mouseup 1)
  done
  xdotool "${storm[@]}"
  client_size 192 344 || fail "client area ${WIDTH}x$HEIGHT after the storm, not 192x344"
  for _ in $(seq 50); do [ "$(presses)" -ge 101 ] && break; sleep 0.1; done
  [ "$(presses)" = 101 ] || fail "$(presses) presses taken, not 101"
  sleep 0.2
  import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$work/shot.png"
  # The level counter shows 96: no key press was lost.
  same 166 0 13 23 numb.bmp $((253 - 23 * 9)) && same 179 0 13 23 numb.bmp $((253 - 23 * 6)) ||
    fail "the level counter does not show 96"
  face=""
  for f in 0 1 2 3 4; do same 84 0 24 24 face.bmp $((24 * f)) && { face=$f; break; }; done
  [ -n "$face" ] || fail "no face at (84, 0)"
  # Rows rose during the storm: cell (11, 6), idle at the start and never a preview, is drawn.
  [ "$(convert "$work/shot.png" -format '%[hex:p{184,128}]' info:)" != AFAFAF ] ||
    fail "no row rose during the storm"
  press_esc
  expect_exit "Esc after the storm" 0
  echo "1000 resizes: client area 192x344, 101 presses and 95 keys taken, frame whole, exit 0"
  ;;
*)
  fail "unknown condition $condition"
  ;;
esac
echo PASS
