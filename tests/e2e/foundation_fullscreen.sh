#!/usr/bin/env bash
# F1 toggles once per press between full screen and a 640 x 480 window at (200, 200).
source "$(dirname "$0")/foundation_lib.sh"

read -r screen_w screen_h < <(xdpyinfo | awk '/dimensions:/ {split($2, d, "x"); print d[1], d[2]}')
bm_start
win=$(bm_wait_window '^Burrowmere$' 15) || bm_fail "no game window"
sleep 1
read -r x y w h < <(bm_geometry "$win")
[ "$w" = "$screen_w" ] && [ "$h" = "$screen_h" ] || bm_fail "not full screen at start: $x $y $w $h"

# Keep the pointer over the game so it has the focus (no window manager here).
xdotool mousemove $((screen_w / 2)) $((screen_h / 2))
xdotool keydown F1; sleep 1; xdotool keyup F1; sleep 0.5
read -r x y w h < <(bm_geometry "$win")
[ "$x $y $w $h" = "200 200 640 480" ] || bm_fail "after F1: $x $y $w $h, want 200 200 640 480"

xdotool mousemove 520 440
bm_hold_key F1; sleep 0.5
read -r x y w h < <(bm_geometry "$win")
[ "$w" = "$screen_w" ] && [ "$h" = "$screen_h" ] || bm_fail "second F1 did not return to full screen: $x $y $w $h"

xdotool mousemove $((screen_w / 2)) $((screen_h / 2))
bm_hold_key F1; sleep 0.5
read -r x y w h < <(bm_geometry "$win")
[ "$x $y $w $h" = "200 200 640 480" ] || bm_fail "third F1: $x $y $w $h"
echo "PASS"
