# The game's fixed facts, read from the game's own source (ui/) so that no script types them
# again: sourced by the harness (x11.sh) and the scripts that play the game; run, prints them.
#   CELL STRIP            a cell's side and the strip's height, in game pixels
#   COLS ROWS IDLE_ROWS   the board the game starts with; BOARD_W BOARD_H, its client area in game pixels
#   TITLE                 the window's title
# shellcheck shell=bash
_fact() {  # FILE SED-EXPRESSION NAME
  local v
  v=$(sed -n "$2" "$(dirname "${BASH_SOURCE[0]}")/../../ui/$1")
  [ -n "$v" ] || { echo "facts.sh: no $3 in ui/$1" >&2; return 1; }
  printf '%s\n' "$v"
}
CELL=$(_fact mainwindow.h 's/^constexpr std::int32_t CellPx = \([0-9]*\);.*/\1/p' CellPx)
STRIP=$(_fact mainwindow.h 's/^constexpr std::int32_t StripPx = \([0-9]*\);.*/\1/p' StripPx)
read -r COLS ROWS IDLE_ROWS < <(_fact mainwindow.cpp \
  's/^constexpr Preset Presets\[\] = {{\([0-9]*\), \([0-9]*\), [0-9]*, \([0-9]*\)}.*/\1 \2 \3/p' Presets)
TITLE=$(_fact mainwindow.cpp 's/^constexpr const char\* Title = "\(.*\)";.*/\1/p' Title)
BOARD_W=$((COLS * CELL)) BOARD_H=$((STRIP + ROWS * CELL))
export CELL STRIP COLS ROWS IDLE_ROWS BOARD_W BOARD_H TITLE
unset -f _fact
[ "${BASH_SOURCE[0]}" != "$0" ] ||  # run rather than sourced
  for v in CELL STRIP COLS ROWS IDLE_ROWS BOARD_W BOARD_H TITLE; do echo "$v=${!v}"; done
