# The one harness of the scripts that play the real game in a private X server (e2e, install,
# Wine, perf/run, bench/run): a scratch folder, Xvfb, a window manager or a Wine prefix, the
# game's window, its size, clicks, Esc, the exit status, screenshots; the facts from facts.sh.
# shellcheck shell=bash
# shellcheck source=facts.sh
. "$(dirname "${BASH_SOURCE[0]}")/facts.sh"
work=$(mktemp -d)
xvfb_pid="" game_pid="" wm_pid=""
at_exit=()
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
  local n=$(($1 * 20))
  shift
  until "$@"; do
    n=$((n - 1))
    [ "$n" -gt 0 ] || return 1
    sleep 0.05
  done
}
alive() { kill -0 "$1" 2>/dev/null; }

# A private X server with a screen of SCREEN (default 1024x768x24), on DISPLAY. It picks a
# free display number itself, and may lose the race for one to a server starting beside it:
# try again. -noreset: it would reset whenever its last client leaves, refusing the next for a
# moment.
start_xvfb() {  # [SCREEN]
  for _ in 1 2 3; do
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp -noreset \
      3>"$work/display" >"$work/xvfb.log" 2>&1 &
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
  poll 5 eval "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'" ||
    fail "openbox did not start"
}

# A Wine prefix at WINEPREFIX, made once (its .complete marks it whole), on PATH with Wine's
# commands; Wine's processes end with the script.
wine_prefix() {
  export PATH=$PATH:/usr/lib/wine WINEDEBUG=-all  # where Debian's wine64 keeps its commands
  # No menu entries, icons or file types of the prefix's programs on the host's desktop.
  export WINEDLLOVERRIDES=winemenubuilder.exe=d
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

# Sets X, Y, WIDTH, HEIGHT: where window WIN's client area is, and its size; all 0 while the X
# server does not know the window (yet).
geometry() {
  X=0 Y=0 WIDTH=0 HEIGHT=0
  eval "$(xdotool getwindowgeometry --shell "${1:-$win}" 2>/dev/null | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
}

# True once the client area of WIN (default: the game's) is W x H, polling for up to SECONDS
# (default 2); sets X, Y, WIDTH, HEIGHT.
client_size() {  # W H [WIN] [SECONDS]
  local size="$1,$2" id=${3:-$win}
  poll "${4:-2}" eval 'geometry "$id"; [ "$WIDTH,$HEIGHT" = "$size" ]'
}

# Starts the game (game_cmd, at scale game_scale; extra environment as arguments) and waits
# for its window, found by pid and title together (under Wine the process also owns an
# input-method window), at its first size, standing still after the centring; sets win, X, Y,
# WIDTH, HEIGHT.
start_game() {
  env "$@" "${game_cmd[@]:-./dravel2}" >"$work/game.out" 2>"$work/game.log" &
  game_pid=$!
  win=$(window_of "$game_pid" "^$TITLE\$")
  local n=${game_scale:-1} was=""
  client_size $((BOARD_W * n)) $((BOARD_H * n)) ||
    fail "${WIDTH}x$HEIGHT at start, not $((BOARD_W * n))x$((BOARD_H * n))"
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

# A screenshot of the game's client area (full.png), and the same in the game's own pixels
# (shot.png); its size is WIDTH x HEIGHT.
shot() {
  geometry
  import -window "$win" "$work/full.png"
  convert "$work/full.png" -sample "$((WIDTH / ${game_scale:-1}))x$((HEIGHT / ${game_scale:-1}))!" "$work/shot.png"
}
# True when every game pixel of the last screenshot is a whole block of the screen's.
crisp() {
  convert "$work/shot.png" -scale "${WIDTH}x${HEIGHT}!" "$work/back.png"
  [ "$(compare -metric AE "$work/back.png" "$work/full.png" null: 2>&1)" = 0 ]
}
# Clicks game pixel (PX, PY) of the client area, at the far corner of its block on the screen.
click() { xdotool mousemove $((X + ($1 + 1) * ${game_scale:-1} - 1)) $((Y + ($2 + 1) * ${game_scale:-1} - 1)) click "${3:-1}"; }
# Game pixel (x, y) of the client area at the far corner of cell (CX, CY) of the board.
cell_corner() { echo $((($1 + 1) * CELL - 1)) $((STRIP + ($2 + 1) * CELL - 1)); }

# True when the W x H region at (X, Y) of the screenshot is the sprite at row SHEET_Y of a sheet.
same() {  # same X Y W H SHEET SHEET_Y
  convert "$work/shot.png" -crop "$3x$4+$1+$2" +repage "$work/a.png"
  convert "$game_dir/bmp/$5" -crop "$3x$4+0+$6" +repage "$work/b.png"
  [ "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1)" = 0 ]
}
# True when cell (CX, CY) shows an open tile (of any count).
opened() {  # CX CY
  for n in 0 1 2 3 4 5 6 7 8; do same $(($1 * CELL)) $((STRIP + $2 * CELL)) "$CELL" "$CELL" icon.bmp $((240 - CELL * n)) && return 0; done
  return 1
}
