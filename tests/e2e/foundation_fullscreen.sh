#!/usr/bin/env bash
# The game starts full screen at (0, 0). The credits' web link leaves it in a
# 640 x 480 window at (200, 200) and hands our about page to the desktop; from
# there each F1 press toggles full screen at (0, 0) and back, without a window
# manager to place the window.
source "$(dirname "$0")/frame_lib.sh"

fr_start
windowed() { fr_at 200 200 640 480; }
fr_click_button menu.gui 3
fr_step mousemove $(fr_button credits.gui 2)
xdotool mousedown 1
fr_wait 30 windowed || fr_fail "the web link left the window at $FR_X $FR_Y $FR_W $FR_H"
xdotool mouseup 1
page_opened() { [ -s "$FR_TMP/opened.txt" ]; }
fr_wait 30 page_opened || fr_fail "no page was opened"
page=$(head -n 1 "$FR_TMP/opened.txt")
case "$page" in /*/Data/about.html) ;; *) fr_fail "opened '$page'" ;; esac
grep -q "Burrowmere" "$page" || fr_fail "the opened page is not about the game"

for want in fr_full_screen windowed fr_full_screen; do
  # Over the window, which has the focus without a window manager.
  fr_step mousemove $((FR_X + 320)) $((FR_Y + 240))
  xdotool keydown F1
  fr_wait 30 "$want" || fr_fail "F1 left the window at $FR_X $FR_Y $FR_W $FR_H, not $want"
  xdotool keyup F1
done
echo "PASS"
