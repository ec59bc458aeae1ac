#!/usr/bin/env bash
# The menu shows; play starts the game; clicking a carrot sends a rabbit that
# takes it (the carrot vanishes, the ding sounds), brings it home (the carrot
# tally sounds) and sets the record in "dat.bin".
source "$(dirname "$0")/frame_lib.sh"

FR_RECORD=1 fr_start
xdotool mousemove $((FR_X + 5)) $((FR_Y + 5))
sleep 0.5

# The menu: the play button's wood, and no carrots lying in the field yet.
fr_shot "$FR_TMP/menu.png"
read -r px py < <(fr_button menu.gui 2)
read -r r g b < <(fr_pixel "$FR_TMP/menu.png" $((px - 120)) "$py")
[ "$r" -gt "$g" ] && [ "$g" -gt "$b" ] && [ "$r" -gt 90 ] || fr_fail "no menu button at $px,$py ($r $g $b)"
[ -z "$(fr_carrots "$FR_TMP/menu.png")" ] || fr_fail "the field shows behind the menu"

fr_click_button menu.gui 2
sleep 1
fr_shot "$FR_TMP/game.png"
mapfile -t field < <(fr_carrots "$FR_TMP/game.png")
[ "${#field[@]}" -ge 5 ] || fr_fail "play shows no field of carrots (found ${#field[@]})"

# The carrot nearest the middle, where the selected hole is. A slow frame (a
# sanitizer build on a busy machine) can miss a press, so a carrot that stays is
# clicked again, at most three times; it must then vanish at its place.
carrot_gone() {
  fr_shot "$FR_TMP/now.png"
  for x in $(fr_carrots "$FR_TMP/now.png"); do
    [ $(( (x - target) ** 2 )) -lt 100 ] && return 1
  done
  return 0
}
centre=$((FR_X + FR_W / 2))
read -r _ row < <(fr_virtual 0 210)
taken=0
for attempt in 1 2 3; do
  fr_shot "$FR_TMP/field.png"
  mapfile -t field < <(fr_carrots "$FR_TMP/field.png")
  [ "${#field[@]}" -ge 1 ] || fr_fail "no carrot left to click"
  target=${field[0]}
  for x in "${field[@]}"; do
    [ $(( (x - centre) ** 2 )) -lt $(( (target - centre) ** 2 )) ] && target=$x
  done
  fr_click "$target" "$row"
  xdotool mousemove $((FR_X + 5)) $((FR_Y + FR_H / 3))
  if fr_wait 20 carrot_gone; then taken=1; break; fi
  echo "attempt $attempt: the carrot at x=$target is still there"
done
[ "$taken" = 1 ] || fr_fail "the clicked carrot at x=$target is still there"
record_is_one() { [ "$(fr_record)" = 1 ]; }
fr_wait 10 record_is_one || fr_fail "dat.bin holds '$(fr_record)' instead of 1 after the first carrot"
fr_alive || fr_fail "the game ended"

# Home again: when the carrots reach the purse the starting hole can buy a rabbit,
# and its add button appears. The tally plays in that frame.
read -r ax ay < <(fr_button interface.gui 71)
read -r r0 g0 b0 < <(fr_patch "$FR_TMP/game.png" "$ax" "$ay")
add_button_shows() {
  fr_shot "$FR_TMP/now.png"
  read -r r g b < <(fr_patch "$FR_TMP/now.png" "$ax" "$ay")
  [ $(( (r - r0) ** 2 + (g - g0) ** 2 + (b - b0) ** 2 )) -gt 2500 ]
}
fr_wait 90 add_button_shows || fr_fail "the carrots never reached the purse (no add button at $ax,$ay)"
# Let the tally play out into the recording before the game ends.
sleep 3
fr_quit
fr_wait_exit 10 || fr_fail "quit did not end the game"
[ "$FR_RC" = 0 ] || fr_fail "quit ended with code $FR_RC"

heard=$("$FR_PY" "$FR_E2E/heard.py" "$FR_TMP/out.wav" "$FR_GAME/Data/sFx/ding.wav" "$FR_GAME/Data/sFx/carrots.wav")
echo "$heard"
ding=$(awk '$1 == "ding.wav" {print $2}' <<<"$heard")
tally=$(awk '$1 == "carrots.wav" {print $2}' <<<"$heard")
[ -n "$ding" ] || fr_fail "no ding in the recording"
[ -n "$tally" ] || fr_fail "no carrot tally in the recording"
awk -v d="$ding" -v t="$tally" 'BEGIN { exit !(t > d) }' || fr_fail "the tally ($tally s) came before the ding ($ding s)"
echo "PASS"
