# Sourced by the scripts that play the real game in Xvfb: a scratch folder, fail, a private X
# server, the game (game_cmd, at scale game_scale) started, Esc and its exit status, and
# screenshots compared with the sheets in game_dir/bmp.
# shellcheck shell=bash
work=$(mktemp -d)
xvfb_pid="" game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/game.log" ] && { echo "--- the game's stderr:" >&2; tail -n 20 "$work/game.log" >&2; }
  exit 1
}

# A private X server with a screen of xvfb_screen (default 1024x768x24). It picks a free display
# number itself, and may lose the race for one to a server starting beside it: try again.
# -noreset: it would reset whenever its last client leaves, refusing the next for a moment.
start_xvfb() {
  for _ in 1 2 3; do
    Xvfb -displayfd 3 -screen 0 "${xvfb_screen:-1024x768x24}" -nolisten tcp -noreset \
      3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
      [ -s "$work/display" ] && break 2
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
  done
  [ -n "$xvfb_pid" ] || fail "Xvfb did not start: $(tail -n 3 "$work/xvfb.log")"
  export DISPLAY=":$(head -n 1 "$work/display")"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return; sleep 0.1; done
  fail "Xvfb did not start"
}

# Starts the game (extra environment as arguments) and waits for its window, found by pid and
# title together (under Wine the process also owns an input-method window), at its first size,
# standing still after the centring; sets win, X, Y, WIDTH, HEIGHT.
start_game() {
  env "$@" "${game_cmd[@]:-./dravel2}" >"$work/game.out" 2>"$work/game.log" &
  game_pid=$! win=""
  for _ in $(seq 150); do
    win=$(xdotool search --all --pid "$game_pid" --name "^Dravel2 by Quonse$" 2>/dev/null | head -n 1 || true)
    [ -n "$win" ] && break
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended before showing its window"
    sleep 0.1
  done
  [ -n "$win" ] || fail "no window titled 'Dravel2 by Quonse'"
  local n=${game_scale:-1} was=""
  client_size $((192 * n)) $((344 * n)) || fail "${WIDTH}x$HEIGHT at start, not $((192 * n))x$((344 * n))"
  for _ in $(seq 30); do
    [ "$X,$Y" = "$was" ] && return 0
    was="$X,$Y"
    sleep 0.15
    eval "$(xdotool getwindowgeometry --shell "$win")"
  done
  fail "the window keeps moving"
}

# True once the client area is W x H, polling for up to two seconds; sets X, Y, WIDTH, HEIGHT.
client_size() {
  for _ in $(seq 40); do
    eval "$(xdotool getwindowgeometry --shell "$win")"
    [ "$WIDTH,$HEIGHT" = "$1,$2" ] && return 0
    sleep 0.05
  done
  return 1
}

# Esc to the game, released by hand: the game is gone before xdotool's release reaches the
# server, and the next game in it would start with Esc held down.
press_esc() {
  xdotool key --window "$win" Escape 2>/dev/null || true
  xdotool keyup Escape
}

# Waits up to ten seconds for the game to end (after what: $1) with status $2.
expect_exit() {
  for _ in $(seq 100); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
  local status=0
  kill -0 "$game_pid" 2>/dev/null && fail "the game did not end ($1)"
  wait "$game_pid" || status=$?
  game_pid=""
  [ "$status" = "$2" ] || fail "exit status $status after $1, not $2"
}

# A screenshot of the client area (full.png), and the same in the game's own pixels (shot.png).
shot() {
  import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$work/full.png"
  convert "$work/full.png" -sample "$((WIDTH / ${game_scale:-1}))x$((HEIGHT / ${game_scale:-1}))!" "$work/shot.png"
}
# True when every game pixel of the last screenshot is a whole block of the screen's.
crisp() {
  convert "$work/shot.png" -scale "${WIDTH}x${HEIGHT}!" "$work/back.png"
  [ "$(compare -metric AE "$work/back.png" "$work/full.png" null: 2>&1)" = 0 ]
}
# Clicks game pixel (PX, PY) of the client area, at the far corner of its block on the screen.
click() { xdotool mousemove $((X + ($1 + 1) * ${game_scale:-1} - 1)) $((Y + ($2 + 1) * ${game_scale:-1} - 1)) click "${3:-1}"; }

# True when the W x H region at (X, Y) of the screenshot is the sprite at row SHEET_Y of a sheet.
same() {  # same X Y W H SHEET SHEET_Y
  convert "$work/shot.png" -crop "$3x$4+$1+$2" +repage "$work/a.png"
  convert "$game_dir/bmp/$5" -crop "$3x$4+0+$6" +repage "$work/b.png"
  [ "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1)" = 0 ]
}
# True when cell (5, 15) of the first board shows an open tile.
opened() {
  for n in 0 1 2 3 4 5 6 7 8; do same 80 264 16 16 icon.bmp $((240 - 16 * n)) && return 0; done
  return 1
}
