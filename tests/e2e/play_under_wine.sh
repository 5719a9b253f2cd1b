#!/usr/bin/env bash
# The Windows build under Wine in a private X server: unzips the zip, starts dravel2.exe from
# its folder, reads the window back against the sheets (the fresh board, a click that opens a
# cell, P pausing every cell), then quits with Esc and expects status 0; then once more at
# 192 DPI, where the window must come up doubled. Installs Wine and the X tools when missing;
# the Wine prefix is made once in ~/.cache/dravel2-win/wine.
# Usage: play_under_wine.sh [ZIP]   (default: what windows/build makes, built first)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
zip=${1:-$("$here/../../windows/build")}
zip=$(realpath "$zip")
"$here/../../scripts/install-packages" wine64 unzip xvfb xauth xdotool imagemagick x11-utils
# Debian's wine64 package keeps its commands in /usr/lib/wine.
export PATH=$PATH:/usr/lib/wine
export WINEPREFIX=${DRAVEL2_WIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/dravel2-win}/wine
export WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/.complete" ]; then
  echo "making the Wine prefix $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  # Without Mono and Gecko: Wine would stop to offer their installers.
  WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY="" wine64 wineboot --init >/dev/null 2>&1 || true
  wineserver -w
  [ -f "$WINEPREFIX/system.reg" ] || { echo "FAIL: wineboot made no prefix" >&2; exit 1; }
  touch "$WINEPREFIX/.complete"
fi

# shellcheck source=../xgame.sh
. "$here/../xgame.sh"
# Wine's own processes (its desktop, the server) end with the test.
trap 'wineserver -k 2>/dev/null || true; cleanup' EXIT
unzip -q "$zip" -d "$work/zip"
game_dir=$(dirname "$(find "$work/zip" -name dravel2.exe | head -n 1)")
cd "$game_dir"
game_cmd=(wine64 dravel2.exe)

shot() { import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$work/shot.png"; }
# True when the block at (X, Y) of the screenshot is exactly $work/b.png.
shows() {  # shows X Y
  convert "$work/shot.png" -crop "$(identify -format %wx%h "$work/b.png")+$1+$2" +repage "$work/a.png"
  [ "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1)" = 0 ]
}
# True when the W x H block at (X, Y) is the 16 x 16 tile of icon.bmp at SHEET_Y repeated.
tiles() {  # tiles X Y W H SHEET_Y
  convert bmp/icon.bmp -crop "16x16+0+$5" +repage -write mpr:t +delete -size "$3x$4" tile:mpr:t \
    "$work/b.png"
  shows "$1" "$2"
}
# The display's DPI, as Windows' scale setting sets it: 96 is 100 %, 192 is 200 %. Wine's
# processes started now see this DISPLAY, the game's too.
set_dpi() {
  wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}

start_xvfb
set_dpi 96
# No sound device here: the game plays silent.
start_game
shot
# The first 12 x 20 board: its active rows, 8 to 19, all covered.
tiles 0 152 192 192 0 || fail "the fresh board's active rows are not all covered"
same 84 0 24 24 face.bmp 96 || fail "the play face is not at (84, 0)"

# Cell (5, 15): pixels 80..95 across, 24 + 240 .. 24 + 255 down.
xdotool mousemove $((X + 88)) $((Y + 24 + 15 * 16 + 8)) click 1
sleep 0.5
shot
opened=""
for num in 0 1 2 3 4 5 6 7 8; do same 80 264 16 16 icon.bmp $((240 - 16 * num)) && opened=$num; done
[ -n "$opened" ] || fail "the clicked cell shows no open tile"

xdotool key --window "$win" p 2>/dev/null
sleep 0.5
shot
tiles 0 24 192 320 64 || fail "P did not show every cell as idle"
same 84 0 24 24 face.bmp 0 || fail "the paused face is not at (84, 0)"
echo "fresh board, opened a $opened, P paused every cell"

press_esc
expect_exit "Esc" 0

# At 200 % the window doubles, every pixel of the game an exact 2 x 2 block.
set_dpi 192
game_scale=2 start_game
shot
convert bmp/face.bmp -crop 24x24+0+96 +repage -scale 200% "$work/b.png"
shows 168 0 || fail "the play face is not doubled at (168, 0) at 192 DPI"
press_esc
expect_exit "Esc at 192 DPI" 0
echo "at 192 DPI: a ${WIDTH}x$HEIGHT window, the face doubled"
echo "PASS"
