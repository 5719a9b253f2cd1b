# Shared by the scripts that play the real game in Xvfb (sourced, not run): a scratch folder
# cleaned up on exit, fail, a private X server, the game started and waited for, its exit
# status, Esc, and screenshot regions compared with the sheets. Expects game_dir to be set (the
# sheets are read from game_dir/bmp); game_cmd is the command that starts the game (default
# ./dravel2, in the working directory).
# shellcheck shell=bash
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
# window, of the first board's size times game_scale (default 1); sets win, X, Y, WIDTH, HEIGHT.
start_game() {
  env "$@" "${game_cmd[@]:-./dravel2}" >"$work/game.out" 2>"$work/game.log" &
  game_pid=$!
  win=""
  # Both at once (--all): under Wine the game's process also owns an input-method window.
  for _ in $(seq 150); do
    win=$(xdotool search --all --pid "$game_pid" --name "^Dravel2 by Quonse$" 2>/dev/null | head -n 1) &&
      [ -n "$win" ] && break
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended before showing its window"
    sleep 0.1
  done
  [ -n "$win" ] || fail "no window titled 'Dravel2 by Quonse'"
  local n=${game_scale:-1}  # the scale the game is expected to start at
  client_size $((192 * n)) $((344 * n)) ||
    fail "client area ${WIDTH}x$HEIGHT at start, not $((192 * n))x$((344 * n))"
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
  convert "$game_dir/bmp/$5" -crop "$3x$4+0+$6" +repage "$work/b.png"
  [ "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1)" = 0 ]
}

