#!/usr/bin/env bash
# A second copy on the same display is refused with a "Startup Fail" message and
# ends with code 0 once the message is acknowledged (OK button or Enter); the first
# copy runs on.
source "$(dirname "$0")/frame_lib.sh"

fr_start
first=$FR_PID
for answer in button Return; do
  fr_launch
  msg=$(timeout 30 xdotool search --sync --name '^Startup Fail$' | head -n 1) || fr_fail "no Startup Fail window"
  [ "$(xdotool search --name '^Burrowmere$' | wc -l)" = 1 ] || fr_fail "the refused copy opened a game window"
  read -r x y w h < <(fr_window "$msg")
  # The message window reacts to events, which queue: no frame to wait for.
  if [ "$answer" = button ]; then
    xdotool mousemove $((x + w / 2)) $((y + h - 27)) mousedown 1 mouseup 1
  else
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) key Return
  fi
  fr_wait_exit 30 || fr_fail "the refused copy did not end after $answer"
  [ "$FR_RC" = 0 ] || fr_fail "the refused copy ended with code $FR_RC"
  fr_gone "$first" && fr_fail "the first copy was disturbed"
done
echo "PASS"
