# Shared steps of the end-to-end tests: a fresh copy of the game in its own folder
# (so "dat.bin" starts empty) started from an unrelated one, its window, input held
# until the game has drawn frames that saw it, screenshots, where things are on
# screen. Every wait has a deadline; none is a fixed sleep.
set -euo pipefail

: "${BM_BIN:?BM_BIN must name the burrowmere binary}"
FR_E2E=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
FR_PY=/usr/bin/python3
FR_FRAMES=$(dirname "$BM_BIN")/tests/bm_frames
FR_TMP=$(mktemp -d)
FR_GAME=$FR_TMP/game
FR_PID=""
FR_PIDS=()
mkdir -p "$FR_GAME" "$FR_TMP/bin"
cp "$BM_BIN" "$FR_GAME/burrowmere"
ln -s "$(dirname "$BM_BIN")/Data" "$FR_GAME/Data"
read -r FR_SCREEN_W FR_SCREEN_H < <(xwininfo -root | awk '/^ *Width/ {w = $2} /^ *Height/ {print w, $2}')

# The credits' web link opens documents through xdg-open: record the request
# instead of starting a browser.
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s/opened.txt"\n' "$FR_TMP" >"$FR_TMP/bin/xdg-open"
chmod +x "$FR_TMP/bin/xdg-open"
export PATH="$FR_TMP/bin:$PATH"

fr_cleanup() {
  for pid in "${FR_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${FR_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$FR_TMP"
}
trap fr_cleanup EXIT

fr_fail() {
  echo "FAIL: $*" >&2
  [ -f "$FR_TMP/game.log" ] && sed 's/^/  game: /' "$FR_TMP/game.log" >&2
  exit 1
}

# Waits until a command succeeds, trying every 0.2 s for up to $1 seconds.
fr_wait() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

# Starts one more copy of the game; sets FR_PID.
fr_launch() {
  ( cd "$FR_TMP" && exec "$FR_GAME/burrowmere" ) >>"$FR_TMP/game.log" 2>&1 &
  FR_PID=$!
  FR_PIDS+=("$FR_PID")
}

# Prints "X Y W H" of window $1; fr_geometry sets FR_X FR_Y FR_W FR_H from the game's.
fr_window() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
    /^ *Width/ {w = $2} /^ *Height/ {print x, y, w, $2}'
}
fr_geometry() { read -r FR_X FR_Y FR_W FR_H < <(fr_window "$FR_WIN"); }
fr_at() { fr_geometry; [ "$FR_X $FR_Y $FR_W $FR_H" = "$*" ]; }
fr_full_screen() { fr_at 0 0 "$FR_SCREEN_W" "$FR_SCREEN_H"; }

# Waits for $1 (default 3) frames drawn from now on: the first may have sampled its
# input before now, the later ones did not.
fr_frames() {
  "$FR_FRAMES" "$FR_WIN" "${1:-3}" 60 >/dev/null || fr_fail "the game drew no frames"
}

# Starts the game and waits for its window, full screen at (0, 0), and its frames.
# FR_RECORD=1 records everything it plays into $FR_TMP/out.wav.
fr_start() {
  if [ "${FR_RECORD:-0}" = 1 ]; then
    printf '[general]\ndrivers=wave\n[wave]\nfile=%s\n' "$FR_TMP/out.wav" >"$FR_TMP/alsoft.conf"
    export ALSOFT_CONF="$FR_TMP/alsoft.conf"
    unset ALSOFT_DRIVERS
  else
    export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
  fi
  fr_launch
  FR_WIN=$(timeout 60 xdotool search --sync --name '^Burrowmere$' | head -n 1) || fr_fail "no game window"
  fr_wait 30 fr_full_screen || fr_fail "not full screen at (0, 0): $FR_X $FR_Y $FR_W $FR_H"
  fr_frames
}

fr_gone() { ! kill -0 "$1" 2>/dev/null; }

# Screen position of a point of the 512 x 512 virtual screen (y upward).
fr_virtual() { echo $((FR_X + $1 * FR_W / 512)) $((FR_Y + (512 - $2) * FR_H / 512)); }

# Screen position of the centre of button INDEX of panel FILE, from the layout the
# panel file is made of.
fr_button() {
  fr_virtual $(awk -v n="$2" '$1 == "button" && $2 == n { print int($4), int($5) }' \
    "$FR_E2E/../../assets/panels/${1%.gui}.layout")
}

# The game samples its input once per frame: each step is held until it has drawn
# frames that saw it.
fr_step() { xdotool "$@"; fr_frames; }
fr_click() { fr_step mousemove "$1" "$2"; fr_step mousedown 1; fr_step mouseup 1; }
fr_click_button() { fr_click $(fr_button "$1" "$2"); }
fr_key() { fr_step keydown "$1"; fr_step keyup "$1"; }

fr_shot() { import -window root "$1"; }

# "r g b" of a screen pixel in a screenshot.
fr_pixel() { convert "$1" -crop "1x1+$2+$3" -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]\n' info:; }

# Screen x of every carrot lying in the field: carrots stand at virtual y 205, and
# their orange body crosses that row.
fr_carrots() {
  local row=$((FR_Y + (512 - 205) * FR_H / 512))
  convert "$1" -crop "${FR_W}x1+${FR_X}+${row}" +repage -depth 8 txt:- | tail -n +2 |
    sed -E 's/^([0-9]+),[0-9]+: \(([0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3 \4/' |
    awk -v x0="$FR_X" '
      BEGIN { start = -1 }
      { orange = ($2 > 200 && $3 > 90 && $3 < 170 && $4 < 90) }
      orange && start < 0 { start = $1 }
      orange { last = $1 }
      !orange && start >= 0 && $1 > last + 3 { if (last - start >= 3) print x0 + int((start + last) / 2); start = -1 }
      END { if (start >= 0 && last - start >= 3) print x0 + int((start + last) / 2) }'
}

# Back to the menu and quit: the press is held until the window is gone.
fr_quit() {
  fr_click_button interface.gui 121
  fr_step mousemove $(fr_button menu.gui 1)
  xdotool mousedown 1
  "$FR_FRAMES" "$FR_WIN" 1000000 60 >/dev/null || true
  xdotool mouseup 1
}

# Waits up to $1 seconds for copy $2 (default FR_PID) to end; sets FR_RC to its exit
# code. Runs in the test's own shell (never inside $(...)), the only one that can reap it.
fr_wait_exit() {
  local pid=${2:-$FR_PID}
  fr_wait "$1" fr_gone "$pid" || return 1
  FR_RC=0
  wait "$pid" || FR_RC=$?
}
