#!/usr/bin/env bash
# A person's check, not part of the suite: plays a whole game under the current X
# display and saves screenshots along the way into the folder given as argument.
#   DISPLAY=:77 BM_BIN=build/burrowmere tests/e2e/playthrough.sh /tmp/shots
OUT=${1:?usage: playthrough.sh OUTPUT_FOLDER}
mkdir -p "$OUT"
source "$(dirname "$0")/frame_lib.sh"

step=0
shot() { step=$((step + 1)); fr_shot "$OUT/$(printf '%02d' "$step")-$1.png"; echo "saved $1"; }
away() { xdotool mousemove $((FR_X + 5)) $((FR_Y + FR_H / 3)); sleep "${1:-0.3}"; }
fetch_round() {
  fr_shot "$FR_TMP/now.png"
  for x in $(fr_carrots "$FR_TMP/now.png"); do fr_click "$x" "$field_row"; done
  away "$1"
}

fr_start
read -r _ field_row < <(fr_virtual 0 210)
away 1
shot menu
fr_click_button menu.gui 2
away 1
shot game-start

for _ in 1 2; do fetch_round 6; done
shot after-fetching
for _ in 1 2 3; do fr_click_button interface.gui 71; done
away 0.5
shot bought-rabbits

fr_key g
fr_click_button interface.gui 16
away 2
shot building
for _ in 1 2 3; do fetch_round 5; done
shot eagles-and-new-hole

fr_key b
read -r bx by < <(fr_virtual 150 210)
fr_click "$bx" "$by"
away 2
shot bait-glow
for _ in 1 2 3; do fetch_round 5; done
shot hunting

# Sacrifice every rabbit of every ready hole until the colony is gone.
for _ in 1 2 3 4; do
  for target in 114 115 116 117 118 119 113; do
    fr_click_button interface.gui "$target"
    for _ in 1 2 3 4 5 6 7 8 9; do
      fr_key b
      read -r bx by < <(fr_virtual $((60 + RANDOM % 400)) 210)
      fr_click "$bx" "$by"
    done
  done
done
away 1
shot lost
sleep 6
shot game-over-picture

fr_click_button interface.gui 121
away 0.5
shot menu-again
fr_click_button menu.gui 2
away 1.5
shot new-game
fr_quit
echo "screenshots in $OUT"
