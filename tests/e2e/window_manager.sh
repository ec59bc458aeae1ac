#!/usr/bin/env bash
# Under a real window manager (openbox) on a display of its own: started after the
# game, it frames the full-screen game window, and F1 takes the game into a
# framed window and back to full screen with the focus test still right; started
# before the game, it takes the window in with its class. Throughout, the window
# keeps its icon and class, and the compositor hint follows full screen.
set -euo pipefail
command -v openbox >/dev/null || { echo "openbox is not installed (scripts/deps.sh)" >&2; exit 1; }
displayfd=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$displayfd" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$displayfd" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n 1 "$displayfd")
rm -f "$displayfd"
source "$(dirname "$0")/frame_lib.sh"
FR_PIDS+=("$xvfb")

start_wm() {
  ( exec env HOME="$FR_TMP" XDG_CONFIG_HOME="$FR_TMP/config" XDG_CACHE_HOME="$FR_TMP/cache" openbox ) \
    >>"$FR_TMP/wm.log" 2>&1 &
  FR_PIDS+=("$!")
}
prop() { xprop -id "$FR_WIN" "$1"; }
taken_in() { [ "$(prop _OB_APP_CLASS)" = '_OB_APP_CLASS(UTF8_STRING) = "Burrowmere"' ]; }
known() {
  [ "$(prop _NET_WM_ICON | sed -n 's/.*Icon (\([0-9]*\) x \1).*/\1/p' | tr '\n' ' ')" = "16 32 48 64 128 " ] &&
    [ "$(prop WM_CLASS)" = 'WM_CLASS(STRING) = "burrowmere", "Burrowmere"' ] || fr_fail "$1: $(prop WM_CLASS), icon lost"
}
bypass() { [ "$(prop _NET_WM_BYPASS_COMPOSITOR)" = "_NET_WM_BYPASS_COMPOSITOR$1" ]; }
framed() { fr_geometry; [ "$FR_W"x"$FR_H" = 640x480 ] && [ "$(prop _NET_FRAME_EXTENTS)" != "_NET_FRAME_EXTENTS:  not found." ]; }
full() { fr_geometry; [ "$FR_W"x"$FR_H" = "$FR_SCREEN_W"x"$FR_SCREEN_H" ]; }
# Holds F1 over the window until it is $1 with the compositor hint $2.
f1_until() {
  fr_step mousemove $((FR_X + FR_W / 2)) $((FR_Y + FR_H / 2))
  xdotool keydown F1
  fr_wait 30 "$1" && fr_wait 10 bypass "$2" || { xdotool keyup F1; fr_fail "F1: not $1 with '$2'"; }
  xdotool keyup F1
  fr_frames
}

fr_start
bypass "(CARDINAL) = 1" || fr_fail "no compositor hint in full screen: $(prop _NET_WM_BYPASS_COMPOSITOR) on $DISPLAY"
start_wm
fr_wait 30 taken_in || fr_fail "openbox did not take the window in: $(prop _OB_APP_CLASS)"
known "framed by a window manager started after the game"
# The window manager gives the focus to its own window; the player picks the game.
xdotool windowactivate --sync "$FR_WIN"
fr_frames
f1_until framed ":  not found."
known "in a window"
mkdir -p "${BM_SHOTS:-$FR_TMP}"
fr_shot "${BM_SHOTS:-$FR_TMP}/wm-title.png"
f1_until full "(CARDINAL) = 1"
known "full screen again"

# A game started under the running window manager.
kill "$FR_PID"
fr_wait_exit 10 || fr_fail "the game did not end"
fr_start
fr_wait 30 taken_in || fr_fail "taken in without its class: $(prop _OB_APP_CLASS)"
known "started under a window manager"
f1_until framed ":  not found."
echo "PASS"
