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
  [ -f "$work/game.log" ] && { echo "--- the game's stderr:" >&2; tail -n 20 "$work/game.log" >&2; }
  if [ -n "$xvfb_pid" ]; then
    kill -0 "$xvfb_pid" 2>/dev/null || echo "--- Xvfb on $DISPLAY is gone" >&2
    [ -s "$work/xvfb.log" ] && { echo "--- Xvfb's log:" >&2; tail -n 20 "$work/xvfb.log" >&2; }
  fi
  exit 1
}
cd "$game_dir"

start_xvfb() {
  # Xvfb picks a free display number itself and writes it, with a newline, to fd 3. When other
  # servers start at the same moment it may lose the race for a number and give up: try again.
  # -noreset: by default the server resets whenever its last client leaves (xdpyinfo below),
  # and a client connecting during the reset is refused.
  for _ in 1 2 3; do
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" \
      >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
      [ "$(wc -l <"$work/display")" -ge 1 ] && break 2
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
  done
  [ -n "$xvfb_pid" ] || fail "Xvfb did not start: $(tail -n 3 "$work/xvfb.log")"
  export DISPLAY=":$(head -n 1 "$work/display")"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"
}

# Starts the game in the background (extra environment as arguments) and waits for its
# window; sets win, X, Y, WIDTH, HEIGHT.
start_game() {
  env "$@" ./dravel2 >"$work/game.out" 2>"$work/game.log" &
  game_pid=$!
  win=""
  for _ in $(seq 150); do
    win=$(xdotool search --pid "$game_pid" --name "^Dravel2 by Quonse$" 2>/dev/null | head -n 1) &&
      [ -n "$win" ] && break
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended before showing its window"
    sleep 0.1
  done
  [ -n "$win" ] || fail "no window titled 'Dravel2 by Quonse'"
  client_size 192 344 || fail "client area ${WIDTH}x$HEIGHT at start, not 192x344"
  # The game centres its window after the first frame: wait until it stays put.
  local was=""
  for _ in $(seq 30); do
    eval "$(xdotool getwindowgeometry --shell "$win")"
    [ "$X,$Y" = "$was" ] && return 0
    was="$X,$Y"
    sleep 0.15
  done
  fail "the window keeps moving"
}

# True once the client area is W x H, polling for up to two seconds; sets X, Y, WIDTH, HEIGHT.
client_size() {
  for _ in $(seq 40); do
    eval "$(xdotool getwindowgeometry --shell "$win")"
    [ "$WIDTH" = "$1" ] && [ "$HEIGHT" = "$2" ] && return 0
    sleep 0.05
  done
  return 1
}

# Waits up to ten seconds for the game to end and checks its status.
expect_exit() {
  local status=""
  for _ in $(seq 100); do
    if ! kill -0 "$game_pid" 2>/dev/null; then
      wait "$game_pid" && status=0 || status=$?
      break
    fi
    sleep 0.1
  done
  game_pid=""
  [ -n "$status" ] || fail "the game did not end ($1)"
  [ "$status" = "$2" ] || fail "exit status $status after $1, not $2"
}

# Esc to the game. xdotool sends it through XTEST when the window has the focus, and the game
# is gone before the release, which then never reaches the server: release it there by hand,
# or the next game in this server starts with Esc held down, and takes its repeats as presses.
press_esc() {
  xdotool key --window "$win" Escape 2>/dev/null || true
  xdotool keyup Escape
}

# Presses taken by the game so far, from the layer's trace.
presses() { grep -c '^press ' "$work/game.log" || true; }

# Compares a region of the screenshot with a sprite of a sheet: true when identical.
same() {  # same SHOT_X SHOT_Y W H SHEET SHEET_Y
  convert "$work/shot.png" -crop "$3x$4+$1+$2" +repage "$work/a.png"
  convert "bmp/$5" -crop "$3x$4+0+$6" +repage "$work/b.png"
  [ "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1)" = 0 ]
}

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
