#!/usr/bin/env bash
# The game opens its window from any folder, keeps drawing frames, and ends with
# code 0 when its window is closed.
source "$(dirname "$0")/foundation_lib.sh"

bm_start
win=$(bm_wait_window '^Burrowmere$' 15) || bm_fail "no window titled Burrowmere"
sleep 1
kill -0 "$BM_PID" 2>/dev/null || bm_fail "the game ended early: $(cat "$BM_TMP/game.log")"

# A free-running frame loop keeps using the processor.
t0=$(bm_cpu_ticks "$BM_PID"); sleep 1; t1=$(bm_cpu_ticks "$BM_PID")
[ $((t1 - t0)) -ge 5 ] || bm_fail "the frame loop is not running (cpu ticks $t0 -> $t1)"

# The game draws its own pointer: moving the mouse changes the picture.
read -r _ _ w h < <(bm_geometry "$win")
xdotool mousemove $((w / 4)) $((h / 4)); sleep 0.5
import -window root "$BM_TMP/a.png"
xdotool mousemove $((w * 3 / 4)) $((h * 3 / 4)); sleep 0.5
import -window root "$BM_TMP/b.png"
diff_pixels=$(compare -metric AE "$BM_TMP/a.png" "$BM_TMP/b.png" null: 2>&1 || true)
[ "${diff_pixels%% *}" -gt 0 ] 2>/dev/null || bm_fail "frames do not follow the pointer (difference: $diff_pixels)"

"$BM_SEND_CLOSE" "$win"
bm_wait_exit "$BM_PID" 10 || bm_fail "the game did not end when its window was closed"
[ "$BM_RC" = 0 ] || bm_fail "exit code $BM_RC after closing the window: $(cat "$BM_TMP/game.log")"
echo "PASS"
