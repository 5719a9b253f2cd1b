#!/usr/bin/env bash
# The Windows build under Wine in a private X server, read back against the sheets: dravel2.exe copied alone
# into an empty folder and started from one whose bmp\ is junk plays (real_game.sh play) and maximizes
# (real_game.sh maximize); /? shows the help; at 192 DPI the window doubles, with a 64-pixel icon for the
# taskbar. Then the installer, silent, into a fresh Wine prefix: the shortcut and the uninstall entry, the
# installed game plays, the silent uninstall leaves nothing of it. Installs Wine and the X tools when
# missing; the first Wine prefix is made once in ~/.cache/dravel2-win/wine.
# Usage: play_under_wine.sh [ZIP]   (the installer beside it; default: windows/build's, built first)
# shellcheck disable=SC2119  # the harness's functions take optional arguments
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ $# -gt 0 ]; then packages=("$1" "${1%.zip}-setup.exe"); else mapfile -t packages < <("$here/../../windows/build"); fi
zip=$(realpath "${packages[0]}") setup=$(realpath "${packages[1]}")
"$here/../../scripts/install-packages" wine64 unzip xvfb xauth xdotool imagemagick x11-utils openbox wmctrl
# shellcheck source=../harness/x11.sh
. "$here/../harness/x11.sh"
export WINEPREFIX=${DRAVEL2_WIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/dravel2-win}/wine
wine_prefix
unzip -q "$zip" -d "$work/unzipped"
game=$work/alone-é/dravel2.exe
install -D "$(find "$work/unzipped" -name dravel2.exe)" "$game"
wine64 "$game" /? >"$work/help" 2>&1 || fail "/? exits $?"
grep -q '^usage: dravel2' "$work/help" && grep -q 'Esc' "$work/help" || fail "/? shows no help: $(cat "$work/help")"
# The display's DPI, as Windows' scale setting sets it (96 is 100 %); the game started next sees
# it, in a Wine session of its own: one begun without a display would open no window.
set_dpi() { wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; wineserver -w; }
set_dpi 96
"$here/real_game.sh" "wine64 $game" play
"$here/real_game.sh" "wine64 $game" maximize
# At 200 % the window doubles, every pixel of the game a 2 x 2 block.
set_dpi 192
game_cmd=(wine64 "$game") game_dir=$here/../../assets game_scale=2
start_xvfb
start_game
shot
crisp && same $((BOARD_W / 2 - 12)) 0 24 24 face.bmp 96 || fail "the play face is not doubled at 192 DPI"
# Wine hands the icon to the X server in a moment of its own: poll for it.
poll 5 eval 'xprop -id "$win" _NET_WM_ICON | grep -q "Icon (64 x 64)"' || fail "no 64-pixel window icon at 192 DPI"
quit_with_esc "Esc at 192 DPI"
set_dpi 96
export WINEPREFIX=$work/fresh
wine_prefix
silently() { wine64 "$1" /S || fail "$2 exits $?"; wineserver -w; }  # EXE WHAT: /S, then Wine done with it
silently "$setup" "the installer"
home=$WINEPREFIX/drive_c/users/$(id -un)
installed=$home/AppData/Local/Programs/Dravel2
shortcut="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Dravel2.lnk"
[ -f "$installed/dravel2.exe" ] && grep -qa 'Dravel2\\dravel2.exe' "$shortcut" || fail "no game in $installed, or no shortcut to it"
grep -q '^\[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Dravel2\]' "$WINEPREFIX/user.reg" ||
  fail "no uninstall entry"
"$here/real_game.sh" "wine64 $installed/dravel2.exe" play
silently "$installed/Uninstall.exe" "the uninstaller"
left=$(find "$WINEPREFIX/drive_c" -iname '*dravel2*'; grep -il dravel2 "$WINEPREFIX"/*.reg || true)
[ -z "$left" ] || fail "left after uninstalling: $left"
echo PASS
