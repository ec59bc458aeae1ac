# Shared steps of the game's end-to-end tests: a fresh copy of the game in its own
# folder (so "dat.bin" starts empty), its window, clicks and keys held long enough
# for a frame to see them, screenshots, and where things are on screen.
set -euo pipefail

: "${BM_BIN:?BM_BIN must name the burrowmere binary}"
FR_E2E=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
FR_PY=/usr/bin/python3
FR_TMP=${FR_KEEP:-$(mktemp -d)}
FR_GAME=$FR_TMP/game
FR_PID=""
mkdir -p "$FR_GAME" "$FR_TMP/bin"
cp "$BM_BIN" "$FR_GAME/burrowmere"
ln -s "$(dirname "$BM_BIN")/Data" "$FR_GAME/Data"

# The web link of the credits opens documents through xdg-open: record the request
# instead of starting a browser.
cat >"$FR_TMP/bin/xdg-open" <<SH
#!/bin/sh
printf '%s\n' "\$1" >>"$FR_TMP/opened.txt"
SH
chmod +x "$FR_TMP/bin/xdg-open"
export PATH="$FR_TMP/bin:$PATH"

fr_cleanup() {
  if [ -n "$FR_PID" ]; then
    kill "$FR_PID" 2>/dev/null || true
    wait "$FR_PID" 2>/dev/null || true
  fi
  [ -n "${FR_KEEP:-}" ] || rm -rf "$FR_TMP"
}
trap fr_cleanup EXIT

fr_fail() {
  echo "FAIL: $*" >&2
  [ -f "$FR_TMP/game.log" ] && sed 's/^/  game: /' "$FR_TMP/game.log" >&2
  exit 1
}

# Starts the game. FR_RECORD=1 records everything it plays into $FR_TMP/out.wav.
fr_start() {
  if [ "${FR_RECORD:-0}" = 1 ]; then
    printf '[general]\ndrivers=wave\n[wave]\nfile=%s\n' "$FR_TMP/out.wav" >"$FR_TMP/alsoft.conf"
    export ALSOFT_CONF="$FR_TMP/alsoft.conf"
    unset ALSOFT_DRIVERS
  else
    export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
  fi
  ( cd "$FR_GAME" && exec ./burrowmere ) >"$FR_TMP/game.log" 2>&1 &
  FR_PID=$!
  FR_WIN=$(timeout 20 xdotool search --sync --name '^Burrowmere$' | head -n 1) || fr_fail "no game window"
  sleep 1.5
  fr_geometry
}

# Sets FR_X FR_Y FR_W FR_H from the window's geometry.
fr_geometry() {
  local info
  info=$(xwininfo -id "$FR_WIN")
  FR_X=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
  FR_Y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
  FR_W=$(awk '/^ *Width/ {print $2}' <<<"$info")
  FR_H=$(awk '/^ *Height/ {print $2}' <<<"$info")
}

fr_alive() { kill -0 "$FR_PID" 2>/dev/null; }

# Screen position of a point of the 512 x 512 virtual screen (y upward).
fr_virtual() { echo $((FR_X + $1 * FR_W / 512)) $((FR_Y + (512 - $2) * FR_H / 512)); }

# Screen position of the centre of button INDEX of panel file FILE (in Data/).
fr_button() {
  local xy
  xy=$("$FR_PY" "$FR_E2E/panel_button.py" "$FR_GAME/Data/$1" "$2" "$FR_W" "$FR_H")
  set -- $xy
  echo $((FR_X + $1)) $((FR_Y + $2))
}

# The game polls the button once per frame: hold it long enough to be seen.
# Slow frames (a sanitizer build on a busy machine) need the longer hold.
fr_click() {
  xdotool mousemove "$1" "$2"
  sleep 0.3
  xdotool mousedown 1
  sleep 0.6
  xdotool mouseup 1
  sleep 0.3
}

fr_click_button() { fr_click $(fr_button "$1" "$2"); }

fr_key() {
  xdotool keydown "$1"
  sleep 0.5
  xdotool keyup "$1"
  sleep 0.3
}

fr_shot() { import -window root "$1"; }

# "r g b" of a screen pixel in a screenshot.
fr_pixel() {
  { convert "$1" -format '%[pixel:p{'"$2"','"$3"'}]' -depth 8 info:; echo; } |
    sed -E 's/^[a-z]+a?\(([0-9.]+)%?,([0-9.]+)%?,([0-9.]+)%?.*/\1 \2 \3/'
}

# Screen x of every carrot lying in the field: carrots stand at virtual y 205, and
# their orange body crosses that row.
fr_carrots() {
  local row=$((FR_Y + (512 - 205) * FR_H / 512))
  convert "$1" -crop "${FR_W}x1+${FR_X}+${row}" +repage -depth 8 txt:- | tail -n +2 |
    sed -E 's/^([0-9]+),[0-9]+: \(([0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3 \4/' |
    awk -v x0="$FR_X" '
      { orange = ($2 > 200 && $3 > 90 && $3 < 170 && $4 < 90) }
      orange && start < 0 { start = $1 }
      orange { last = $1 }
      !orange && start >= 0 && $1 > last + 3 { if (last - start >= 3) print x0 + int((start + last) / 2); start = -1 }
      BEGIN { start = -1 }
      END { if (start >= 0 && last - start >= 3) print x0 + int((start + last) / 2) }'
}

# Waits until a command succeeds, polling every 0.5 s up to $1 seconds.
fr_wait() {
  local limit=$1
  shift
  for _ in $(seq 1 $((limit * 2))); do
    "$@" && return 0
    sleep 0.5
  done
  return 1
}

# Mean "r g b" of a 9 x 9 patch of a screenshot around a point.
fr_patch() {
  convert "$1" -crop "9x9+$(($2 - 4))+$(($3 - 4))" +repage -resize 1x1\! -depth 8 txt:- | tail -n 1 |
    sed -E 's/.*\(([0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3/'
}

# The 32-bit record stored in "dat.bin", or nothing.
fr_record() { [ -f "$FR_GAME/dat.bin" ] && od -An -t d4 -N 4 "$FR_GAME/dat.bin" | tr -d ' '; }

fr_quit() {
  fr_click_button interface.gui 121
  fr_click_button menu.gui 1
}

# Waits up to $1 seconds for the game to end; sets FR_RC to its exit code. Runs in
# the test's own shell (never inside $(...)), the only shell that can reap the game.
fr_wait_exit() {
  local limit=${1:-10}
  for _ in $(seq 1 $((limit * 10))); do
    fr_alive || break
    sleep 0.1
  done
  fr_alive && return 1
  FR_RC=0
  wait "$FR_PID" || FR_RC=$?
  FR_PID=""
}
