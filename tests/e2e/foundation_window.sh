#!/usr/bin/env bash
# Started from an unrelated folder and without any sound device, the game shows
# its menu picture; while another window has the focus it rests (draws no frames)
# and it resumes when the focus comes back; closing its window ends it with code 0.
source "$(dirname "$0")/frame_lib.sh"

export ALSOFT_DRIVERS=no_such_driver
fr_start
# The menu picture's sky and meadow (with every picture missing both are white or black).
menu_shows() {
  fr_shot "$FR_TMP/menu.png"
  read -r r g b < <(fr_pixel "$FR_TMP/menu.png" $(fr_virtual 480 500))
  read -r r2 g2 b2 < <(fr_pixel "$FR_TMP/menu.png" $(fr_virtual 150 280))
  [ "$b" -gt $((r + 40)) ] && [ "$g2" -gt $((r2 + 40)) ] && [ "$g2" -gt $((b2 + 40)) ]
}
fr_wait 30 menu_shows || fr_fail "no menu picture: sky $r $g $b, meadow $r2 $g2 $b2"

# Without a window manager the focus follows the pointer: over another window the
# game pauses. At most the frame that was under way when the pointer moved is drawn.
xev -geometry 200x200+20+20 >/dev/null 2>&1 &
FR_PIDS+=($!)
timeout 30 xdotool search --sync --name '^Event Tester$' >/dev/null || fr_fail "no other window"
xdotool mousemove 100 100
drawn=$("$FR_FRAMES" "$FR_WIN" 1000000 3 || true)
[ "$drawn" -le 2 ] || fr_fail "$drawn frames drawn in 3 s while another window had the focus"
fr_step mousemove $((FR_W / 2)) $((FR_H / 2))

"$BM_SEND_CLOSE" "$FR_WIN"
fr_wait_exit 30 || fr_fail "the game did not end when its window was closed"
[ "$FR_RC" = 0 ] || fr_fail "exit code $FR_RC after closing the window"
echo "PASS"
