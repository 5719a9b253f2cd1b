# The one harness of the scripts that play the real game in a private X server (e2e, install,
# Wine, perf/run, bench/run): a scratch folder, Xvfb, a window manager or a Wine prefix, the
# game's window, its size, clicks, Esc, the exit status, screenshots; the facts from facts.sh.
# shellcheck shell=bash
# shellcheck source=facts.sh
. "$(dirname "${BASH_SOURCE[0]}")/facts.sh"
work=$(mktemp -d)
xvfb_pid="" game_pid="" wm_pid="" at_exit=()
# More to do at the end, before the processes started here are ended: on_exit 'COMMAND'.
on_exit() { at_exit+=("$1"); }
cleanup() {
  local c
  for c in "${at_exit[@]}"; do eval "$c" || true; done
  for p in "$game_pid" "$wm_pid" "$xvfb_pid"; do [ -n "$p" ] && kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/game.log" ] && { echo "--- the game's stderr:" >&2; tail -n 20 "$work/game.log" >&2; }
  exit 1
}
# True once COMMAND succeeds, trying every 50 ms for up to SECONDS.
poll() {  # SECONDS COMMAND...
  local n
  for ((n = $1 * 20; n > 0; n--)); do
    "${@:2}" && return 0
    sleep 0.05
  done
  return 1
}
alive() { kill -0 "$1" 2>/dev/null; }
# A private X server with a screen of SCREEN (default 1024x768x24), on DISPLAY, at a free display
# number it picks itself; one starting beside it may win the race for that number: try again.
# -noreset: it would reset whenever its last client leaves, refusing the next for a moment.
start_xvfb() {  # [SCREEN]
  for _ in 1 2 3; do
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    poll 10 eval '[ -s "$work/display" ] || ! alive "$xvfb_pid"' && alive "$xvfb_pid" && break
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
  done
  [ -n "$xvfb_pid" ] || fail "Xvfb did not start: $(tail -n 3 "$work/xvfb.log")"
  export DISPLAY=":$(head -n 1 "$work/display")"
  poll 5 eval 'xdpyinfo >/dev/null 2>&1' || fail "Xvfb did not start"
}
# A window manager (openbox) on the X server, once it has taken the screen.
start_wm() {
  openbox >"$work/wm.log" 2>&1 &
  wm_pid=$!
  poll 5 eval "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'" || fail "openbox did not start"
}
# A Wine prefix at WINEPREFIX, made once (.complete marks it whole); Wine's commands on PATH, ended at exit.
wine_prefix() {
  export PATH=$PATH:/usr/lib/wine WINEDEBUG=-all  # where Debian's wine64 keeps its commands
  export WINEDLLOVERRIDES=winemenubuilder.exe=d  # no menu entries, icons or file types on the host's desktop
  if [ ! -f "$WINEPREFIX/.complete" ]; then
    echo "making the Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    # Without Mono and Gecko: Wine would stop to offer their installers.
    WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" DISPLAY="" wine64 wineboot --init >/dev/null 2>&1 || true
    wineserver -w
    [ -f "$WINEPREFIX/system.reg" ] || fail "wineboot made no prefix"
    touch "$WINEPREFIX/.complete"
  fi
  on_exit 'wineserver -k 2>/dev/null'
}
# The window of process PID titled TITLE (a regular expression), polling for up to 15 s.
window_of() {  # PID TITLE
  local pid=$1 title=$2 w=""
  poll 15 eval 'w=$(xdotool search --all --pid "$pid" --name "$title" 2>/dev/null | head -n 1); [ -n "$w" ] || ! alive "$pid"'
  [ -n "$w" ] || fail "no window titled '$title' from process $pid"
  echo "$w"
}
# Sets X, Y, WIDTH, HEIGHT: where window WIN's client area is, and its size (all 0 until X knows it).
geometry() {
  X=0 Y=0 WIDTH=0 HEIGHT=0
  eval "$(xdotool getwindowgeometry --shell "${1:-$win}" 2>/dev/null | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
}
# True once WIN's client area (default: the game's) is W x H, within SECONDS (default 2); sets X, Y, WIDTH, HEIGHT.
client_size() {  # W H [WIN] [SECONDS]
  local size="$1,$2" id=${3:-$win}
  poll "${4:-2}" eval 'geometry "$id"; [ "$WIDTH,$HEIGHT" = "$size" ]'
}
# Starts the game (game_cmd, at scale game_scale; extra environment as arguments) and waits for
# its window, found by pid and title together (under Wine the process also owns an input-method
# window), at its first size, standing still after the centring; sets win, X, Y, WIDTH, HEIGHT.
start_game() {
  env "$@" "${game_cmd[@]:-./dravel2}" >"$work/game.out" 2>"$work/game.log" &
  game_pid=$!
  win=$(window_of "$game_pid" "^$TITLE\$")
  local w=$((BOARD_W * ${game_scale:-1})) h=$((BOARD_H * ${game_scale:-1})) was=""
  client_size "$w" "$h" || fail "${WIDTH}x$HEIGHT at start, not ${w}x$h"
  # Standing still: at the same place twice, about 0.15 s apart.
  poll 5 eval '[ "$X,$Y" = "$was" ] || { was="$X,$Y"; sleep 0.1; geometry; false; }' || fail "the window keeps moving"
}
# Esc to the game, released by hand: the game is gone before xdotool's release reaches the
# server, and the next game in it would start with Esc held down.
press_esc() { xdotool key --window "$win" Escape 2>/dev/null || true; xdotool keyup Escape; }
# Waits up to ten seconds for the game to end (after what: $1) with status $2.
expect_exit() {
  local status=0
  poll 10 eval '! alive "$game_pid"' || fail "the game did not end ($1)"
  wait "$game_pid" || status=$?
  game_pid=""
  [ "$status" = "$2" ] || fail "exit status $status after $1, not $2"
}
# Esc, and the game ends with status 0 (WHAT names the Esc in a failure, default "Esc").
quit_with_esc() { press_esc; expect_exit "${1:-Esc}" 0; }  # [WHAT]
# A screenshot of the game's client area (full.png) after SECONDS (default none) to repaint, and
# the same in the game's own pixels (shot.png, and NAME.png if given); its size is WIDTH x HEIGHT.
shot() {  # [SECONDS] [NAME]
  sleep "${1:-0}"
  geometry
  import -window "$win" "$work/full.png"
  convert "$work/full.png" -sample "$((WIDTH / ${game_scale:-1}))x$((HEIGHT / ${game_scale:-1}))!" "$work/shot.png"
  [ -z "${2:-}" ] || cp "$work/shot.png" "$work/$2.png"
}
alike() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }  # A B: the same, pixel for pixel
# True when every game pixel of the last screenshot is a whole block of the screen's, and the
# screenshot in game pixels is picture NAME.png if given.
crisp() {  # [NAME]
  convert "$work/shot.png" -scale "${WIDTH}x${HEIGHT}!" "$work/back.png"
  alike "$work/back.png" "$work/full.png" && { [ -z "${1:-}" ] || alike "$work/shot.png" "$work/$1.png"; }
}
# Clicks game pixel (PX, PY) of the client area, at the far corner of its block on the screen.
click() { xdotool mousemove $((X + ($1 + 1) * ${game_scale:-1} - 1)) $((Y + ($2 + 1) * ${game_scale:-1} - 1)) click "${3:-1}"; }
# Clicks the far corner of cell (CX, CY) of the board.
click_cell() { click $((($1 + 1) * CELL - 1)) $((STRIP + ($2 + 1) * CELL - 1)); }
# True when the W x H region at (X, Y) of the screenshot is the sprite at row SHEET_Y of a sheet.
same() {  # same X Y W H SHEET SHEET_Y
  convert "$work/shot.png" -crop "$3x$4+$1+$2" +repage "$work/a.png"
  convert "$game_dir/bmp/$5" -crop "$3x$4+0+$6" +repage "$work/b.png"
  alike "$work/a.png" "$work/b.png"
}
# True when cell (CX, CY) shows an open tile (of any count).
opened() {  # CX CY
  for n in 0 1 2 3 4 5 6 7 8; do same $(($1 * CELL)) $((STRIP + $2 * CELL)) "$CELL" "$CELL" icon.bmp $((240 - CELL * n)) && return 0; done
  return 1
}
