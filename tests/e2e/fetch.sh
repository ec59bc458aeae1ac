#!/usr/bin/env bash
# Play starts the game; ONE click on a carrot sends a rabbit that takes it (the
# carrot vanishes, the ding sounds), sets the record in "dat.bin" and brings it
# home (the tally sounds); quit ends the game with code 0.
source "$(dirname "$0")/frame_lib.sh"

FR_RECORD=1 fr_start
field_shows() { fr_shot "$FR_TMP/field.png"; mapfile -t field < <(fr_carrots "$FR_TMP/field.png"); [ "${#field[@]}" -ge 5 ]; }
fr_click_button menu.gui 2
fr_wait 30 field_shows || fr_fail "play shows no field of carrots (found ${#field[@]})"

# A carrot near the middle, where the selected hole is.
target=${field[${#field[@]} / 2]}
read -r _ row < <(fr_virtual 0 210)
fr_click "$target" "$row"
xdotool mousemove $((FR_X + 5)) $((FR_Y + FR_H / 3))
carrot_gone() {
  fr_shot "$FR_TMP/now.png"
  for x in $(fr_carrots "$FR_TMP/now.png"); do [ $(( (x - target) ** 2 )) -lt 100 ] && return 1; done
  return 0
}
fr_wait 90 carrot_gone || fr_fail "the clicked carrot at x=$target is still there"
record_is_one() { [ "$(od -An -t d4 -N 4 "$FR_GAME/dat.bin" 2>/dev/null | tr -d ' ')" = 1 ]; }
fr_wait 30 record_is_one || fr_fail "dat.bin does not hold 1 after the first carrot"

# Home again, the credited carrots sound their tally, after the ding.
heard() {
  sounds=$("$FR_PY" "$FR_E2E/heard.py" "$FR_TMP/out.wav" "$FR_GAME/Data/sFx/ding.wav" "$FR_GAME/Data/sFx/carrots.wav")
  ding=$(awk '$1 == "ding.wav" {print $2}' <<<"$sounds")
  tally=$(awk '$1 == "carrots.wav" {print $2}' <<<"$sounds")
  [ -n "$ding" ] && [ -n "$tally" ]
}
fr_wait 180 heard || fr_fail "not heard in the recording: $sounds"
awk -v d="$ding" -v t="$tally" 'BEGIN { exit !(t > d) }' || fr_fail "the tally ($tally s) came before the ding ($ding s)"
fr_quit
fr_wait_exit 30 || fr_fail "quit did not end the game"
[ "$FR_RC" = 0 ] || fr_fail "quit ended with code $FR_RC"
echo "PASS"
