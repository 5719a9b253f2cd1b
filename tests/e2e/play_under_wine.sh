#!/usr/bin/env bash
# The Windows build under Wine in a private X server: dravel2.exe started from the unzipped
# folder, read back against the sheets (the fresh board, a click that opens a cell, P pausing
# every cell), Esc with status 0; then at 192 DPI, where the window comes up doubled. Installs
# Wine and the X tools when missing; the Wine prefix is made once in ~/.cache/dravel2-win/wine.
# Usage: play_under_wine.sh [ZIP]   (default: what windows/build makes, built first)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
zip=$(realpath "${1:-$("$here/../../windows/build")}")
"$here/../../scripts/install-packages" wine64 unzip xvfb xauth xdotool imagemagick x11-utils
# shellcheck source=../harness/x11.sh
. "$here/../harness/x11.sh"
export WINEPREFIX=${DRAVEL2_WIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/dravel2-win}/wine
wine_prefix
unzip -q "$zip" -d "$work/unzipped"
game=$(find "$work/unzipped" -name dravel2.exe | head -n 1)
# The display's DPI, as Windows' scale setting sets it (96 is 100 %); the game started next sees
# it, in a Wine session of its own: one begun without a display would open no window.
set_dpi() { wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; wineserver -w; }
set_dpi 96
"$here/real_game.sh" "wine64 $game" play
# At 200 % the window doubles, every pixel of the game a 2 x 2 block.
set_dpi 192
game_cmd=(wine64 "$game") game_dir=$(dirname "$game") game_scale=2
start_xvfb
start_game
shot
crisp && same $((BOARD_W / 2 - 12)) 0 24 24 face.bmp 96 || fail "the play face is not doubled at 192 DPI"
press_esc
expect_exit "Esc at 192 DPI" 0
echo PASS
