#!/usr/bin/env bash
# A second copy on the same display is refused with a "Startup Fail" message and
# ends with code 0 once the message is acknowledged; the first copy runs on.
source "$(dirname "$0")/foundation_lib.sh"

bm_start
first=$BM_PID
bm_wait_window '^Burrowmere$' 15 >/dev/null || bm_fail "first copy opened no window"
count_before=$(xdotool search --name '^Burrowmere$' | wc -l)

bm_start
second=$BM_PID
msg=$(bm_wait_window '^Startup Fail$' 2) || bm_fail "no Startup Fail window within 2 s"
count_after=$(xdotool search --name '^Burrowmere$' | wc -l)
[ "$count_after" = "$count_before" ] || bm_fail "the second copy opened a game window"

# Acknowledge with the OK button, pressed and released over it.
read -r x y w h < <(bm_geometry "$msg")
xdotool mousemove $((x + w / 2)) $((y + h - 27))
xdotool mousedown 1; sleep 0.2; xdotool mouseup 1
bm_wait_exit "$second" 5 || bm_fail "the refused copy did not end after OK"
[ "$BM_RC" = 0 ] || bm_fail "the refused copy ended with code $BM_RC"
kill -0 "$first" 2>/dev/null || bm_fail "the first copy was disturbed"

# Enter acknowledges the message too.
bm_start
third=$BM_PID
msg=$(bm_wait_window '^Startup Fail$' 2) || bm_fail "no Startup Fail window for the third copy"
read -r x y w h < <(bm_geometry "$msg")
xdotool mousemove $((x + w / 2)) $((y + h / 2))
sleep 0.3
xdotool key Return
bm_wait_exit "$third" 5 || bm_fail "Enter did not close the message"
[ "$BM_RC" = 0 ] || bm_fail "the refused copy ended with code $BM_RC"
kill -0 "$first" 2>/dev/null || bm_fail "the first copy was disturbed"
echo "PASS"
