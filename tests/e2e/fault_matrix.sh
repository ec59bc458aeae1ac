#!/usr/bin/env bash
# Every file of Data/ removed, then cut in half, in turn: the real game starts,
# is driven from the menu into a game, is closed by the window manager's close,
# ends with code 0 and leaves every file of Data/ as it found it.
set -euo pipefail
: "${BM_BIN:?}" "${BM_SEND_CLOSE:?}"
export ALSOFT_DRIVERS=null
tmp=$(mktemp -d)
pid=""
# The X server resets when its last client leaves, and refuses connections while
# it does: one client stays connected from game to game.
xprop -root -spy >/dev/null 2>&1 &
keeper=$!
trap 'kill $keeper $pid 2>/dev/null || true; rm -rf "$tmp"' EXIT
fail() { echo "FAIL ($case): $*" >&2; [ -f "$tmp/game.log" ] && sed 's/^/  game: /' "$tmp/game.log" >&2; exit 1; }

data=$(dirname "$BM_BIN")/Data
cp -r "$data" "$tmp/pristine"
mapfile -t files < <(cd "$tmp/pristine" && find . -type f | sort)
case=setup
[ "${#files[@]}" -ge 20 ] || fail "only ${#files[@]} files in $data"
# The menu's play button, in thousandths of the window.
read -r px py < <(python3 "$(dirname "$0")/panel_button.py" "$tmp/pristine/menu.gui" 2 1000 1000)

# Waits (a minute at most) for the game's first frame: the window is black before.
first_frame() {
  for _ in $(seq 1 200); do
    import -window "$win" -resize '4x4!' -depth 8 txt:- 2>/dev/null | grep -qv '(0,0,0)\|^#' && return 0
    sleep 0.1
  done
  return 1
}
# Holds a mouse button or a key long enough for a frame to see it.
click() { xdotool mousemove "$1" "$2" mousedown 1 sleep 0.2 mouseup 1 sleep 0.1; }
key() { xdotool keydown "$1" sleep 0.2 keyup "$1"; }

for file in "${files[@]}"; do
  for damage in removed cut; do
    case="$file $damage"
    rm -rf "$tmp/game" && mkdir "$tmp/game" && cp "$BM_BIN" "$tmp/game/"
    cp -al "$tmp/pristine" "$tmp/game/Data"
    rm "$tmp/game/Data/$file"
    [ "$damage" = cut ] && head -c $(($(stat -c %s "$tmp/pristine/$file") / 2)) "$tmp/pristine/$file" >"$tmp/game/Data/$file"
    before=$(cd "$tmp/game" && find Data -type f -exec sha1sum {} + | sort)

    (cd "$tmp/game" && exec ./burrowmere) >"$tmp/game.log" 2>&1 &
    pid=$!
    win=""
    for _ in $(seq 1 400); do
      win=$(xdotool search --onlyvisible --name '^Burrowmere$' 2>/dev/null | head -n 1) && [ -n "$win" ] && break
      sleep 0.05
    done
    [ -n "$win" ] || fail "no window"
    read -r x0 y0 w h < <(xdotool getwindowgeometry "$win" | tr ',x' '  ' | awk '/Position/ {p = $2 " " $3} /Geometry/ {print p, $2, $3}')
    first_frame || fail "no frame drawn"
    # Play, a click in the field where carrots stand (virtual y 205) and a tray key.
    click $((x0 + px * w / 1000)) $((y0 + py * h / 1000))
    click $((x0 + w / 2)) $((y0 + h * (512 - 205) / 512))
    key b

    "$BM_SEND_CLOSE" "$win"
    for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && fail "still running 10 s after its window was closed"
    rc=0
    wait "$pid" || rc=$?
    pid=""
    [ "$rc" = 0 ] || fail "exit code $rc"
    [ "$(cd "$tmp/game" && find Data -type f -exec sha1sum {} + | sort)" = "$before" ] || fail "Data/ was changed"
  done
done
echo "PASS: ${#files[@]} files, each removed and cut in half"
