#!/usr/bin/env bash
# The help, skills and credits screens open and close; the credits' web link
# leaves the game in a 640 x 480 window at (200, 200) and opens the about page;
# quit ends the process with code 0.
source "$(dirname "$0")/frame_lib.sh"

fr_start
xdotool mousemove $((FR_X + 5)) $((FR_Y + 5))

# Share of pixels that differ between two screenshots, in percent.
changed() { compare -metric AE -fuzz 8% "$1" "$2" null: 2>&1 | awk -v n=$((FR_W * FR_H)) '{print int($1 * 100 / n)}'; }
field_shows() { fr_shot "$FR_TMP/f.png"; [ "$(fr_carrots "$FR_TMP/f.png" | wc -l)" -ge 3 ]; }

fr_click_button menu.gui 2
fr_wait 5 field_shows || fr_fail "play did not show the field"
cp "$FR_TMP/f.png" "$FR_TMP/game.png"

for screen in "interface.gui 107 help_0.gui 1 help" "interface.gui 111 skills.gui 16 skills"; do
  set -- $screen
  fr_click_button "$1" "$2"
  xdotool mousemove $((FR_X + 5)) $((FR_Y + 5)); sleep 0.5
  fr_shot "$FR_TMP/$5.png"
  # The screen covers the field: most of the picture changes (its own carrot
  # pictures may cross the carrot row, so the carrot count proves nothing here).
  [ "$(changed "$FR_TMP/game.png" "$FR_TMP/$5.png")" -ge 40 ] || fr_fail "the $5 screen did not open"
  fr_click_button "$3" "$4"
  fr_wait 5 field_shows || fr_fail "closing the $5 screen did not return to the game"
done

fr_click_button interface.gui 121
xdotool mousemove $((FR_X + 5)) $((FR_Y + 5)); sleep 0.5
fr_shot "$FR_TMP/menu.png"
field_shows && fr_fail "the back button did not open the menu"
fr_click_button menu.gui 3
xdotool mousemove $((FR_X + 5)) $((FR_Y + 5)); sleep 0.5
fr_shot "$FR_TMP/credits.png"
[ "$(changed "$FR_TMP/menu.png" "$FR_TMP/credits.png")" -ge 20 ] || fr_fail "the credits did not open"
fr_click_button credits.gui 1
xdotool mousemove $((FR_X + 5)) $((FR_Y + 5)); sleep 0.5
fr_shot "$FR_TMP/menu2.png"
[ "$(changed "$FR_TMP/menu.png" "$FR_TMP/menu2.png")" -lt 5 ] || fr_fail "closing the credits did not return to the menu"

# The web link: windowed, and our own page handed to the desktop.
fr_click_button menu.gui 3
fr_click_button credits.gui 2
sleep 1
geometry=$(xdotool getwindowgeometry "$FR_WIN")
grep -q "Position: 200,200" <<<"$geometry" || fr_fail "not at (200, 200): $geometry"
grep -q "Geometry: 640x480" <<<"$geometry" || fr_fail "not 640 x 480: $geometry"
[ -s "$FR_TMP/opened.txt" ] || fr_fail "no page was opened"
page=$(head -n 1 "$FR_TMP/opened.txt")
case "$page" in /*/Data/about.html) ;; *) fr_fail "opened '$page'" ;; esac
grep -q "Burrowmere" "$page" || fr_fail "the opened page is not about the game"

# Back to the menu inside the new window, and quit.
fr_geometry
xdotool mousemove $((FR_X + 5)) $((FR_Y + 5)); sleep 0.3
fr_click_button credits.gui 1
fr_click_button menu.gui 1
fr_wait_exit 10 || fr_fail "quit did not end the game"
[ "$FR_RC" = 0 ] || fr_fail "quit ended with code $FR_RC"
echo "PASS"
